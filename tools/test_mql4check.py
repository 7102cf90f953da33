#!/usr/bin/env python3
"""Tests of the MQL4 reader behind tools/check-mql4: what it accepts and every
kind of mismatch it must report, with the exact texts."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from mql4check import (check_header, check_program, check_wrappers, read_calls, read_imports,  # noqa: E402
                       read_wrappers)

WRAPPERS = '''string VelmorSymbolByLine(int row) { return VelmorSymbolByLineW(row); }
int VelmorOpenChartByNumber(int row, string& buffer, int size) { return VelmorOpenChartByNumberW(row, buffer, size); }
'''

HEADER = '''
// a comment with VelmorNothing(1, 2); inside
#import "RazozazER4.dll"
int VelmorGetAllHandlesCharts(int& handles[], int size);   // first chart
void VelmorSetScale(int chart, double first,
                    double second);
string VelmorSymbolByLineW(int row);
int VelmorOpenChartByNumberW(int row, string& buffer, int size);
void VelmorSetExperts();
/* int VelmorCommented(int a); */
#import
''' + WRAPPERS

EXPORTS = {
    "VelmorGetAllHandlesCharts": (8, "0"),
    "VelmorSetScale": (20, "none"),
    "VelmorSymbolByLine": (4, '""'),
    "VelmorSymbolByLineW": (4, '""'),
    "VelmorOpenChartByNumber": (12, "0"),
    "VelmorOpenChartByNumberW": (12, "0"),
    "VelmorSetExperts": (0, "none"),
}


class ReadingTheHeader(unittest.TestCase):
    def test_declarations_give_kind_bytes_and_parameter_types_across_lines_and_comments(self):
        declarations, errors = read_imports(HEADER)
        self.assertEqual(errors, [])
        self.assertEqual(declarations, {
            "VelmorGetAllHandlesCharts": ("int", 8, ("int&[]", "int")),
            "VelmorSetScale": ("void", 20, ("int", "double", "double")),
            "VelmorSymbolByLineW": ("string", 4, ("int",)),
            "VelmorOpenChartByNumberW": ("int", 12, ("int", "string&", "int")),
            "VelmorSetExperts": ("void", 0, ()),
        })
        self.assertEqual(check_header(declarations, EXPORTS, wide=True), [])
        wrappers, errors = read_wrappers(HEADER)
        self.assertEqual(errors, [])
        self.assertEqual(check_wrappers(wrappers, declarations, EXPORTS), [])

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
            "VelmorC: reference parameter 'int& a' is neither an array nor a string",
            "VelmorD: double array 'double& a[]' is not part of the library's contract",
            "VelmorE: unreadable parameter 'long a'",
            "VelmorE declared twice",
        ])

    def test_a_header_without_the_block_is_refused(self):
        self.assertEqual(read_imports('#import "Other.dll"\nint F();\n#import\n'),
                         ({}, ['no #import "RazozazER4.dll" block closed by #import']))


class ComparingWithTheExports(unittest.TestCase):
    def test_bytes_result_kind_missing_extra_and_other_era_names(self):
        declarations = {                                  # the header of builds before 600
            "VelmorGetAllHandlesCharts": ("int", 4, ("int&[]",)),          # an argument short
            "VelmorSetScale": ("void", 12, ("int", "int", "int")),         # int where a double is
            "VelmorSymbolByLine": ("int", 4, ("int",)),                    # text result declared int
            "VelmorOpenChartByNumberW": ("int", 12, ("int", "string&", "int")),
            "VelmorInvented": ("int", 0, ()),
        }
        self.assertEqual(check_header(declarations, EXPORTS, wide=False), [
            "VelmorGetAllHandlesCharts: declared with 4 argument bytes, the export takes 8",
            "VelmorSetScale: declared with 12 argument bytes, the export takes 20",
            "VelmorSymbolByLine: declared int, the export returns string",
            "VelmorOpenChartByNumber is not declared",
            "VelmorSetExperts is not declared",
            "VelmorOpenChartByNumberW is declared but belongs to the other terminal builds' header",
            "VelmorInvented is declared but not exported",
        ])

    def test_each_text_export_is_called_through_its_twin_with_the_same_arguments(self):
        declarations, _ = read_imports(HEADER)
        good = WRAPPERS.splitlines()
        for line, replacement, expected in [
            (0, "string VelmorSymbolByLine(int row) { return VelmorSymbolByLine(row); }",
             ["VelmorSymbolByLine calls VelmorSymbolByLine instead of VelmorSymbolByLineW"]),
            (0, "string VelmorSymbolByLine(int row) { VelmorSymbolByLineW(row); }",
             ["VelmorSymbolByLine drops the result of VelmorSymbolByLineW"]),
            (0, "", ["VelmorSymbolByLine has no wrapper"]),
            (1, "int VelmorOpenChartByNumber(int row, string buffer, int size) "
                "{ return VelmorOpenChartByNumberW(row, buffer, size); }",
             ["VelmorOpenChartByNumber is not declared as VelmorOpenChartByNumberW is"]),
            (1, "int VelmorOpenChartByNumber(int row, string& buffer, int size) "
                "{ return VelmorOpenChartByNumberW(size, buffer, row); }",
             ["VelmorOpenChartByNumber does not pass its parameters to VelmorOpenChartByNumberW in their order"]),
            (1, good[1] + "\nint VelmorSetScale(int a) { return VelmorSymbolByLineW(a); }",
             ["VelmorSetScale wraps no text export"]),
        ]:
            with self.subTest(replacement=replacement):
                lines = list(good)
                lines[line] = replacement
                wrappers, errors = read_wrappers('#import "RazozazER4.dll"\n#import\n' + "\n".join(lines))
                self.assertEqual(errors + check_wrappers(wrappers, declarations, EXPORTS), expected)


class CheckingPrograms(unittest.TestCase):
    def setUp(self):
        declarations, _ = read_imports(HEADER)
        wrappers, _ = read_wrappers(HEADER)
        wide = {**declarations, **wrappers}
        self.headers = {"RazozazER4.mqh": wide,
                        "RazozazER4Ansi.mqh": {name: declared for name, declared in wide.items()
                                               if not (name.endswith("W") and name[:-1] in wrappers)}}

    def test_calls_are_counted_through_nesting_strings_and_comments(self):
        text = '''Print(VelmorSymbolByLine(StringLen("a,b)")));
// VelmorSetScale(1);
VelmorSetScale(chart, MathMax(1, 2), 3.0);
VelmorSetExperts( );'''
        self.assertEqual(read_calls(text), [
            ("VelmorSymbolByLine", 1, 1), ("VelmorSetScale", 3, 3), ("VelmorSetExperts", 0, 4)])

    def test_a_program_may_call_only_what_either_header_declares_with_its_arguments(self):
        text = '''#include <RazozazER4.mqh>
int start()
{
   VelmorSetScale(chart, 1.0);
   VelmorOpenEverything();
   Print(VelmorSymbolByLine(0), VelmorSymbolByLineW(1, 2));
   return(VelmorOpenChartByNumber(0, buffer, 16));
}'''
        expected = [
            "x.mq4:4: VelmorSetScale called with 2 arguments, declared with 3",
            "x.mq4:5: VelmorOpenEverything is not declared in <RazozazER4.mqh>",
            "x.mq4:5: VelmorOpenEverything is not declared in <RazozazER4Ansi.mqh>",
            "x.mq4:6: VelmorSymbolByLineW is not declared in <RazozazER4Ansi.mqh>",
            "x.mq4:6: VelmorSymbolByLineW called with 2 arguments, declared with 1",
        ]
        self.assertEqual(check_program(text, self.headers, "x.mq4"), expected)
        self.assertEqual(check_program(text.replace("4.mqh", "4Ansi.mqh"), self.headers, "x.mq4"), expected)

    def test_a_program_includes_one_header_and_imports_nothing_itself(self):
        for text, expected in [
            ('#import "RazozazER4.dll"\nvoid VelmorSetExperts();\n#import\n',
             ["y.mq4: includes none of <RazozazER4.mqh> and <RazozazER4Ansi.mqh>"]),
            ("#include <RazozazER4.mqh>\n#include <RazozazER4Ansi.mqh>\n",
             ["y.mq4: includes both <RazozazER4.mqh> and <RazozazER4Ansi.mqh>"]),
            ('#include <RazozazER4Ansi.mqh>\n#import "RazozazER4.dll"\n#import\n',
             ["y.mq4: imports on its own instead of using the header"]),
        ]:
            with self.subTest(text=text):
                self.assertEqual(check_program(text, self.headers, "y.mq4"), expected)


if __name__ == "__main__":
    unittest.main()
