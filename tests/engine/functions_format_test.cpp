// Format with numeric, date and text patterns. The engine formats without
// regional settings: '.' decimals, ',' thousands, US-English named formats.
#include "functions_test_support.hpp"

namespace orvdb::engine::testing {
namespace {

using FormatTest = JetSqlTest;

TEST_F(FormatTest, FormatGivesJetsText) {
    const SqlCase cases[] = {
        // Custom numeric patterns.
        {"jet_format(1234.5678, '0')", "text:1235"},
        {"jet_format(1234.5678, '0.00')", "text:1234.57"},
        {"jet_format(1234.5678, '#,##0.00')", "text:1,234.57"},
        {"jet_format(1234567.891, '#,##0')", "text:1,234,568"},
        {"jet_format(-1234.5, '#,##0.00')", "text:-1,234.50"},
        {"jet_format(0.5, '0%')", "text:50%"},
        {"jet_format(0.125, '0.0%')", "text:12.5%"},
        // Format rounds half away from zero, unlike Round.
        {"jet_format(0.125, '0.00')", "text:0.13"},
        {"jet_format(2.5, '0')", "text:3"},
        {"jet_format(5, '000')", "text:005"},
        {"jet_format(0.5, '#.##')", "text:.5"},
        {"jet_format(5, '#.##')", "text:5."},
        {"jet_format(1.5, '0.0#')", "text:1.5"},
        {"jet_format(1.456, '0.0#')", "text:1.46"},
        {"jet_format(1234567, '#,##0,')", "text:1,235"},
        {"jet_format(5551234, '000-0000')", "text:555-1234"},
        {"jet_format(0.000123, '0.00E-00')", "text:1.23E-04"},
        {"jet_format(9.999, '0.00E+00')", "text:1.00E+01"},
        {"jet_format(42, '\"No. \"0')", "text:No. 42"},
        {"jet_format(42, '0\\%')", "text:42%"},
        {"jet_format('12.5', '0.00')", "text:12.50"},
        {"jet_format('abc', '0.00')", "text:abc"},
        // Numeric sections.
        {"jet_format(-5, '0;(0)')", "text:(5)"},
        {"jet_format(5, '0;(0)')", "text:5"},
        {"jet_format(0, '0;(0);\"zero\"')", "text:zero"},
        {"jet_format(-5, '0;;\"zero\"')", "text:-5"},
        {"jet_format(NULL, '0;(0);\"zero\";\"none\"')", "text:none"},
        // Without a fourth section Format(Null) stays Null, like most functions.
        {"jet_format(NULL, '0.00')", "null"},
        // No sign on a value that shows as zero.
        {"jet_format(-0.001, '0.00')", "text:0.00"},
        // Named numeric formats.
        {"jet_format(1234.5, 'General Number')", "text:1234.5"},
        {"jet_format(1234.5, 'Fixed')", "text:1234.50"},
        {"jet_format(-1234.567, 'fixed')", "text:-1234.57"},
        {"jet_format(1234.5, 'Standard')", "text:1,234.50"},
        {"jet_format(0.1234, 'Percent')", "text:12.34%"},
        {"jet_format(123456, 'Scientific')", "text:1.23E+05"},
        // Neutral currency sign, invariant-culture layout.
        {"jet_format(1234.5, 'Currency')", "text:¤1,234.50"},
        {"jet_format(-1234.5, 'Currency')", "text:(¤1,234.50)"},
        {"jet_format(1, 'Yes/No')", "text:Yes"},
        {"jet_format(0, 'True/False')", "text:False"},
        {"jet_format(-1, 'On/Off')", "text:On"},
        // Date patterns.
        {"jet_format('2024-03-05 14:07:09', 'yyyy-mm-dd')", "text:2024-03-05"},
        {"jet_format('2024-03-05 14:07:09', 'dd/mm/yyyy')", "text:05/03/2024"},
        {"jet_format('2024-03-05 14:07:09', 'hh:nn:ss')", "text:14:07:09"},
        {"jet_format('2024-03-05 14:07:09', 'hh:mm')", "text:14:07"},
        {"jet_format('2024-03-05 14:07:09', 'yyyy')", "text:2024"},
        {"jet_format('2024-03-05 14:07:09', 'yy')", "text:24"},
        {"jet_format('2024-03-05 14:07:09', 'mmm')", "text:Mar"},
        {"jet_format('2024-03-05 14:07:09', 'mmmm')", "text:March"},
        {"jet_format('2024-03-05 14:07:09', 'ddd')", "text:Tue"},
        {"jet_format('2024-03-05 14:07:09', 'dddd')", "text:Tuesday"},
        {"jet_format('2024-03-05 14:07:09', 'd-m-yy')", "text:5-3-24"},
        {"jet_format('2024-03-05 14:07:09', 'h:nn am/pm')", "text:2:07 pm"},
        {"jet_format('2024-03-05 09:07:09', 'h:nn AM/PM')", "text:9:07 AM"},
        {"jet_format('2024-03-05 00:30:00', 'hh:nn AMPM')", "text:12:30 AM"},
        {"jet_format('2024-03-05 14:07:09', 'h a/p')", "text:2 p"},
        {"jet_format('2024-03-05 14:07:09', 'd mmm yyyy \"at\" h')", "text:5 Mar 2024 at 14"},
        {"jet_format('2024-03-05 14:07:09', 'q')", "text:1"},
        {"jet_format('2024-03-05 14:07:09', 'y')", "text:65"},
        {"jet_format('2024-03-05 14:07:09', 'ww')", "text:10"},
        {"jet_format('2024-03-05 14:07:09', 'w')", "text:3"},
        {"jet_format(45356, 'yyyy-mm-dd')", "text:2024-03-05"},
        {"jet_format('1899-12-29 06:00', 'yyyy-mm-dd hh:nn')", "text:1899-12-29 06:00"},
        {"jet_format('0100-01-01', 'yyyy-mm-dd')", "text:0100-01-01"},
        // Named date formats.
        {"jet_format('2024-03-05 14:07:09', 'Short Date')", "text:3/5/2024"},
        {"jet_format('2024-03-05 14:07:09', 'Medium Date')", "text:05-Mar-24"},
        {"jet_format('2024-03-05 14:07:09', 'Long Date')", "text:Tuesday, March 5, 2024"},
        {"jet_format('2024-03-05 14:07:09', 'General Date')", "text:3/5/2024 2:07:09 PM"},
        {"jet_format('2024-03-05 14:07:09', 'Short Time')", "text:14:07"},
        {"jet_format('2024-03-05 14:07:09', 'Medium Time')", "text:02:07 PM"},
        {"jet_format('2024-03-05 14:07:09', 'Long Time')", "text:2:07:09 PM"},
        {"jet_format(45356, 'General Date')", "text:3/5/2024"},
        // The date part of 1899-12-30 is not shown, as CStr of a time does.
        {"jet_format(0, 'General Date')", "text:12:00:00 AM"},
        {"jet_format(0.5, 'Short Time')", "text:12:00"},
        {"jet_format('2024-03-05 14:07:09', 'c')", "text:3/5/2024 2:07:09 PM"},
        {"jet_format('2024-03-05 14:07:09', 'ddddd')", "text:3/5/2024"},
        // Plain and text patterns.
        {"jet_format(2.5)", "text:2.5"},
        {"jet_format(5)", "text:5"},
        {"jet_format('abc')", "text:abc"},
        {"jet_format(NULL)", "null"},
        {"jet_format(2.5, '')", "text:2.5"},
        {"jet_format('abc', '>')", "text:ABC"},
        {"jet_format('ABC', '<')", "text:abc"},
        {"jet_format('abc', '@@@@@')", "text:  abc"},
        {"jet_format('abc', '!@@@@@')", "text:abc  "},
        {"jet_format('5551234', '@@@-@@@@')", "text:555-1234"},
        {"jet_format('ab', '&&&')", "text:ab"},
        {"jet_format('abcd', '@@')", "text:abcd"},
    };
    expectCases(cases);
}

}  // namespace
}  // namespace orvdb::engine::testing
