// Tolerant comparisons of the host's TMathEx. Versions are single-precision
// numbers, so two versions that differ by no more than the tolerance count as
// equal:
//
//   PlusPetit(a, b)        a < b - tol   (a below b by more than tol)
//   PlusPetitOuEgal(a, b)  a <= b + tol  (a not above b by more than tol)
//   PlusGrandOuEgal(a, b)  a >= b - tol  (a not below b by more than tol)
//
// so PlusGrandOuEgal is exactly !PlusPetit, and PlusPetitOuEgal(a, b) is
// exactly PlusGrandOuEgal(b, a).
#pragma once

namespace orvdb::host {

constexpr double kVersionTolerance = 0.000001;

struct TMathEx {
    static constexpr bool PlusPetit(double a, double b, double tolerance = kVersionTolerance) {
        return a < b - tolerance;
    }
    static constexpr bool PlusPetitOuEgal(double a, double b,
                                          double tolerance = kVersionTolerance) {
        return a <= b + tolerance;
    }
    static constexpr bool PlusGrandOuEgal(double a, double b,
                                          double tolerance = kVersionTolerance) {
        return a >= b - tolerance;
    }
};

}  // namespace orvdb::host
