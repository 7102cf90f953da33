#!/usr/bin/env python3
"""Tests of the MQL4 reader behind tools/check-mql4: what it accepts and every
kind of mismatch it must report, with the exact texts."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from mql4check import check_header, check_program, read_calls, read_imports  # noqa: E402

HEADER = '''
// a comment with VelmorNothing(1, 2); inside
#import "RazozazER4.dll"
int VelmorGetAllHandlesCharts(int& handles[], int size);   // first chart
void VelmorSetScale(int chart, double first,
                    double second);
string VelmorSymbolByLine(int row);
void VelmorSetExperts();
/* int VelmorCommented(int a); */
#import
int NotTheLibrary(int a);
'''

EXPORTS = {
    "VelmorGetAllHandlesCharts": (8, "0"),
    "VelmorSetScale": (20, "none"),
    "VelmorSymbolByLine": (4, '""'),
    "VelmorSetExperts": (0, "none"),
}


class ReadingTheHeader(unittest.TestCase):
    def test_declarations_give_kind_bytes_and_parameter_count_across_lines_and_comments(self):
        declarations, errors = read_imports(HEADER)
        self.assertEqual(errors, [])
        self.assertEqual(declarations, {
            "VelmorGetAllHandlesCharts": ("int", 8, 2),
            "VelmorSetScale": ("void", 20, 3),
            "VelmorSymbolByLine": ("string", 4, 1),
            "VelmorSetExperts": ("void", 0, 0),
        })
        self.assertEqual(check_header(declarations, EXPORTS), [])

    def test_unusable_declarations_are_reported_one_by_one(self):
        text = '''#import "RazozazER4.dll"
double VelmorA(int a);
int VelmorB(int a[]);
int VelmorC(int& a);
int VelmorD(double& a[]);
int VelmorE(long a);
int VelmorE();
#import
'''
        declarations, errors = read_imports(text)
        self.assertEqual(errors, [
            "VelmorA: result type double is not int, string or void",
            "VelmorB: array parameter 'int a[]' without &",
            "VelmorC: reference parameter 'int& a' is not an array",
            "VelmorD: double array 'double& a[]' is not part of the library's contract",
            "VelmorE: unreadable parameter 'long a'",
            "VelmorE declared twice",
        ])

    def test_a_header_without_the_block_is_refused(self):
        self.assertEqual(read_imports('#import "Other.dll"\nint F();\n#import\n'),
                         ({}, ['no #import "RazozazER4.dll" block closed by #import']))


class ComparingWithTheExports(unittest.TestCase):
    def test_bytes_result_kind_missing_and_extra_names(self):
        declarations = {
            "VelmorGetAllHandlesCharts": ("int", 4, 1),   # an argument short
            "VelmorSetScale": ("void", 12, 3),            # int where a double is
            "VelmorSymbolByLine": ("int", 4, 1),          # text result declared int
            "VelmorInvented": ("int", 0, 0),
        }
        self.assertEqual(check_header(declarations, EXPORTS), [
            "VelmorGetAllHandlesCharts: declared with 4 argument bytes, the export takes 8",
            "VelmorSetScale: declared with 12 argument bytes, the export takes 20",
            "VelmorSymbolByLine: declared int, the export returns string",
            "VelmorSetExperts is not declared",
            "VelmorInvented is declared but not exported",
        ])


class CheckingPrograms(unittest.TestCase):
    def setUp(self):
        self.declarations, _ = read_imports(HEADER)

    def test_calls_are_counted_through_nesting_strings_and_comments(self):
        text = '''Print(VelmorSymbolByLine(StringLen("a,b)")));
// VelmorSetScale(1);
VelmorSetScale(chart, MathMax(1, 2), 3.0);
VelmorSetExperts( );'''
        self.assertEqual(read_calls(text), [
            ("VelmorSymbolByLine", 1, 1), ("VelmorSetScale", 3, 3), ("VelmorSetExperts", 0, 4)])

    def test_a_program_may_call_only_declared_functions_with_their_arguments(self):
        text = '''#include <RazozazER4.mqh>
int start()
{
   VelmorSetScale(chart, 1.0);
   VelmorOpenEverything();
   return(VelmorGetAllHandlesCharts(handles, 10));
}'''
        self.assertEqual(check_program(text, self.declarations, "x.mq4"), [
            "x.mq4:4: VelmorSetScale called with 2 arguments, declared with 3",
            "x.mq4:5: VelmorOpenEverything is not declared",
        ])

    def test_a_program_must_use_the_header_not_its_own_import(self):
        text = '#import "RazozazER4.dll"\nvoid VelmorSetExperts();\n#import\n'
        self.assertEqual(check_program(text, self.declarations, "y.mq4"), [
            "y.mq4: does not include <RazozazER4.mqh>",
            "y.mq4: imports on its own instead of using the header",
        ])


if __name__ == "__main__":
    unittest.main()
