// Access SQL operators whose meaning differs from SQLite's: & + - * / \ Mod ^
// Like Not, the -1/0 truth value, and long chains of + - * folded in one call.
#include "engine/functions/function_registry.hpp"
#include "engine/functions/like_pattern.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"

#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace orvdb::engine::functions {

namespace {

// a & b: Null counts as "", the result is Null only when both are.
// a & b & ...: Null only when every operand is Null (a chain of & is one
// call, so it takes any number of operands).
void jetConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string joined;
    bool any = false;
    for (int index = 0; index < argc; ++index) {
        if (isNullArg(argv[index])) {
            continue;
        }
        any = true;
        joined.append(TextArg(argv[index]).view());
    }
    if (!any) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, joined);
}

enum class Arithmetic { Add, Subtract, Multiply };

// Integers stay integers until they overflow 64 bits, then become doubles.
Number arithmetic(Arithmetic op, const Number& left, const Number& right) {
    if (left.isInteger && right.isInteger) {
        int64_t result = 0;
        bool overflow = false;
        switch (op) {
            case Arithmetic::Add:
                overflow = __builtin_add_overflow(left.integer, right.integer, &result);
                break;
            case Arithmetic::Subtract:
                overflow = __builtin_sub_overflow(left.integer, right.integer, &result);
                break;
            case Arithmetic::Multiply:
                overflow = __builtin_mul_overflow(left.integer, right.integer, &result);
                break;
        }
        if (!overflow) {
            return Number::ofInteger(result);
        }
    }
    const double x = left.toDouble();
    const double y = right.toDouble();
    switch (op) {
        case Arithmetic::Add:
            return Number::ofReal(x + y);
        case Arithmetic::Subtract:
            return Number::ofReal(x - y);
        case Arithmetic::Multiply:
            return Number::ofReal(x * y);
    }
    return Number::ofReal(0);
}

// a + b: two texts concatenate; otherwise both must be numbers, a text
// operand being converted (or raising the type mismatch). Null gives Null.
void jetAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        jetConcat(ctx, 2, argv);
        return;
    }
    resultNumber(ctx, arithmetic(Arithmetic::Add, numberArg(argv[0]), numberArg(argv[1])));
}

void jetSub(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    resultNumber(ctx, arithmetic(Arithmetic::Subtract, numberArg(argv[0]), numberArg(argv[1])));
}

void jetMul(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    resultNumber(ctx, arithmetic(Arithmetic::Multiply, numberArg(argv[0]), numberArg(argv[1])));
}

// Long chains of + - * (a + b + c ...) are folded from the left, as Jet
// reads them, by one call: jet_fold(ops, term, ...). A chain longer than a
// call takes arguments arrives in groups, jet_terms(term, ...), that nest
// in a balanced tree, so SQLite's parser and expression depth never grow
// with the chain. `ops` holds the operator of every step ("+-+...") or one
// for all of them.
constexpr const char* kTermsPointer = "orvdb-terms";

struct TermList {
    std::vector<sqlite3_value*> values;
    TermList() = default;
    TermList(const TermList&) = delete;
    TermList& operator=(const TermList&) = delete;
    ~TermList() {
        for (sqlite3_value* value : values) {
            sqlite3_value_free(value);
        }
    }
};

void deleteTermList(void* list) {
    delete static_cast<TermList*>(list);
}

// The operands an argument stands for: a group's, or itself.
template <typename Visit>
void forEachTerm(sqlite3_value* argument, const Visit& visit) {
    if (const auto* group =
            static_cast<const TermList*>(sqlite3_value_pointer(argument, kTermsPointer))) {
        for (sqlite3_value* value : group->values) {
            visit(value);
        }
        return;
    }
    visit(argument);
}

void jetTerms(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    auto list = std::make_unique<TermList>();
    for (int index = 0; index < argc; ++index) {
        forEachTerm(argv[index], [&list](sqlite3_value* value) {
            sqlite3_value* copy = sqlite3_value_dup(value);
            if (copy == nullptr) {
                throw std::bad_alloc();
            }
            list->values.push_back(copy);
        });
    }
    sqlite3_result_pointer(ctx, list.release(), kTermsPointer, deleteTermList);
}

// The running value of a fold: the first operand as it came, then what the
// steps made of it.
class FoldValue {
public:
    explicit FoldValue(sqlite3_value* first) : first_(first) {}

    bool isText() const { return first_ ? sqlite3_value_type(first_) == SQLITE_TEXT : isText_; }
    Number number() const {
        return first_ ? numberArg(first_) : isText_ ? numberOfText(text_) : number_;
    }
    void setNumber(const Number& number) {
        first_ = nullptr;
        isText_ = false;
        number_ = number;
    }
    void appendText(sqlite3_value* value) {
        if (first_) {
            text_.assign(TextArg(first_).view());
            first_ = nullptr;
        }
        isText_ = true;
        text_.append(TextArg(value).view());
    }
    void result(sqlite3_context* ctx) const {
        if (first_) {
            sqlite3_result_value(ctx, first_);
        } else if (isText_) {
            resultText(ctx, text_);
        } else {
            resultNumber(ctx, number_);
        }
    }

private:
    sqlite3_value* first_;
    bool isText_ = false;
    std::string text_;
    Number number_;
};

void jetFold(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const std::string_view ops = storedText(argv[0]);
    std::optional<FoldValue> folded;
    size_t step = 0;
    bool null = false;
    for (int index = 1; index < argc && !null; ++index) {
        forEachTerm(argv[index], [&](sqlite3_value* value) {
            // Null gives Null at any step, and stays Null to the end.
            if (null || isNullArg(value)) {
                null = true;
                return;
            }
            if (!folded) {
                folded.emplace(value);
                return;
            }
            const char op = ops.size() == 1 ? ops[0] : step < ops.size() ? ops[step] : '+';
            ++step;
            if (op == '+' && folded->isText() && sqlite3_value_type(value) == SQLITE_TEXT) {
                folded->appendText(value);  // two texts concatenate
                return;
            }
            const Arithmetic arithmeticOp = op == '-'   ? Arithmetic::Subtract
                                            : op == '*' ? Arithmetic::Multiply
                                                        : Arithmetic::Add;
            folded->setNumber(arithmetic(arithmeticOp, folded->number(), numberArg(value)));
        });
    }
    if (null || !folded) {
        sqlite3_result_null(ctx);
        return;
    }
    folded->result(ctx);
}

// a / b, always in floating point. 0/0 raises Overflow as in VBA, any other
// division by zero "Division by zero".
void jetDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const double x = doubleArg(argv[0]);
    const double y = doubleArg(argv[1]);
    if (y == 0) {
        if (x == 0) {
            raiseOverflow();
        }
        raiseDivisionByZero();
    }
    resultDouble(ctx, x / y);
}

// a \ b and a Mod b round both operands to Longs first (half to even), then
// divide as integers: the quotient truncates, the remainder takes the sign
// of the dividend.
void jetIntDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int64_t a = longArg(argv[0]);
    const int64_t b = longArg(argv[1]);
    if (b == 0) {
        raiseDivisionByZero();
    }
    sqlite3_result_int64(ctx, a / b);
}

void jetMod(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int64_t a = longArg(argv[0]);
    const int64_t b = longArg(argv[1]);
    if (b == 0) {
        raiseDivisionByZero();
    }
    sqlite3_result_int64(ctx, a % b);
}

void jetPow(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const double x = doubleArg(argv[0]);
    const double y = doubleArg(argv[1]);
    if (x == 0 && y < 0) {
        raiseDivisionByZero();
    }
    if (x < 0 && y != std::trunc(y)) {
        raiseInvalidCall();  // a negative number has no real fractional power
    }
    resultDouble(ctx, std::pow(x, y));
}

void deleteLikePattern(void* pattern) {
    delete static_cast<LikePattern*>(pattern);
}

// value Like pattern: -1/0, Null when either is Null. The compiled pattern is
// kept with the statement while the pattern argument stays the same.
void jetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const TextArg value(argv[0]);
    if (const auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 1))) {
        resultBool(ctx, cached->matches(value.view()));
        return;
    }
    auto pattern = std::make_unique<LikePattern>(TextArg(argv[1]).view());
    const bool matched = pattern->matches(value.view());
    // Handed over last: SQLite may delete it at once when the argument varies.
    sqlite3_set_auxdata(ctx, 1, pattern.release(), deleteLikePattern);
    resultBool(ctx, matched);
}

// Not x for the translator's conditions: -1 when x is zero, 0 otherwise.
// (Jet's Not on other numbers is bitwise, Not 5 = -6; on the -1/0 of
// conditions both readings agree.)
void jetNot(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    resultBool(ctx, !truthArg(argv[0]));
}

// SQLite's 1/0 truth as Jet's -1/0.
void jetBool(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    resultBool(ctx, truthArg(argv[0]));
}

}  // namespace

void registerOperatorFunctions(sqlite3* db) {
    constexpr Purity pure = Purity::Deterministic;
    registerScalars(db, {
                            {"jet_concat", 1, -1, pure, guarded<jetConcat>},
                            {"jet_add", 2, 2, pure, guarded<jetAdd>},
                            {"jet_sub", 2, 2, pure, guarded<jetSub>},
                            {"jet_mul", 2, 2, pure, guarded<jetMul>},
                            {"jet_fold", 2, -1, pure, guarded<jetFold>},
                            {"jet_terms", 1, -1, pure, guarded<jetTerms>},
                            {"jet_div", 2, 2, pure, guarded<jetDiv>},
                            {"jet_intdiv", 2, 2, pure, guarded<jetIntDiv>},
                            {"jet_mod", 2, 2, pure, guarded<jetMod>},
                            {"jet_pow", 2, 2, pure, guarded<jetPow>},
                            {"jet_like", 2, 2, pure, guarded<jetLike>},
                            {"jet_not", 1, 1, pure, guarded<jetNot>},
                            {"jet_bool", 1, 1, pure, guarded<jetBool>},
                        });
}

}  // namespace orvdb::engine::functions
