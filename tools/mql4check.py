"""Reads MQL4 sources the way the checks need them: the declarations of an
#import block and the library calls of a program. Used by tools/check-mql4
and its tests."""
import re

TYPES_BYTES = {"int": 4, "double": 8, "string": 4}
RESULT_KINDS = {"int", "string", "void"}


def strip_comments(text):
    """The text with // and /* */ comments blanked out; string literals are kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def argument_bytes(parameter):
    """Bytes one declared parameter takes on the stack, or an error text."""
    m = re.fullmatch(r"\s*(int|double|string)\s*(&)?\s*(\w+)\s*(\[\s*\])?\s*", parameter)
    if not m:
        return None, f"unreadable parameter '{parameter.strip()}'"
    kind, reference, _, array = m.groups()
    if array and not reference:
        return None, f"array parameter '{parameter.strip()}' without &"
    if reference and not array:
        return None, f"reference parameter '{parameter.strip()}' is not an array"
    if array and kind == "double":
        return None, f"double array '{parameter.strip()}' is not part of the library's contract"
    return (4 if array else TYPES_BYTES[kind]), None


def read_imports(text, library="RazozazER4.dll"):
    """{name: (result kind, argument bytes, parameter count)} of the #import block
    of `library`, and a list of errors."""
    text = strip_comments(text)
    block = re.search(r'#import\s+"' + re.escape(library) + r'"(.*?)^\s*#import\s*$', text, re.S | re.M)
    if not block:
        return {}, [f'no #import "{library}" block closed by #import']
    declarations, errors = {}, []
    for statement in block.group(1).split(";"):
        statement = " ".join(statement.split())
        if not statement:
            continue
        m = re.fullmatch(r"(\w+)\s+(\w+)\s*\((.*)\)", statement)
        if not m:
            errors.append(f"unreadable declaration '{statement}'")
            continue
        kind, name, parameters = m.groups()
        if kind not in RESULT_KINDS:
            errors.append(f"{name}: result type {kind} is not int, string or void")
            continue
        total, count = 0, 0
        for parameter in filter(str.strip, parameters.split(",")):
            size, error = argument_bytes(parameter)
            if error:
                errors.append(f"{name}: {error}")
                continue
            total += size
            count += 1
        if name in declarations:
            errors.append(f"{name} declared twice")
        declarations[name] = (kind, total, count)
    return declarations, errors


def split_arguments(text):
    """The top-level, comma-separated arguments of a call's text between its parentheses."""
    arguments, depth, current, i = [], 0, "", 0
    while i < len(text):
        c = text[i]
        if c == '"':
            j = i + 1
            while j < len(text) and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            current += text[i:j + 1]
            i = j + 1
            continue
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
        if c == "," and depth == 0:
            arguments.append(current)
            current = ""
        else:
            current += c
        i += 1
    if current.strip() or arguments:
        arguments.append(current)
    return arguments


def read_calls(text, prefix="Velmor"):
    """(name, argument count, line) of every call of a function named prefix..."""
    text = strip_comments(text)
    calls = []
    for m in re.finditer(r"\b(" + prefix + r"\w*)\s*\(", text):
        depth, i = 1, m.end()
        while i < len(text) and depth:
            if text[i] == '"':
                j = i + 1
                while j < len(text) and text[j] != '"':
                    j += 2 if text[j] == "\\" else 1
                i = j + 1
                continue
            depth += {"(": 1, ")": -1}.get(text[i], 0)
            i += 1
        calls.append((m.group(1), len(split_arguments(text[m.end():i - 1])), text.count("\n", 0, m.start()) + 1))
    return calls


def neutral_kind(neutral):
    return {"none": "void", '""': "string", "null": "string"}.get(neutral, "int")


def check_header(declarations, exports):
    """Errors where the header's declarations and the export table {name: (bytes, neutral)} differ."""
    errors = []
    for name, (argbytes, neutral) in exports.items():
        if name not in declarations:
            errors.append(f"{name} is not declared")
            continue
        kind, total, _ = declarations[name]
        if total != argbytes:
            errors.append(f"{name}: declared with {total} argument bytes, the export takes {argbytes}")
        if kind != neutral_kind(neutral):
            errors.append(f"{name}: declared {kind}, the export returns {neutral_kind(neutral)}")
    for name in declarations:
        if name not in exports:
            errors.append(f"{name} is declared but not exported")
    return errors


def check_program(text, declarations, source):
    """Errors where a program calls the library outside its header."""
    errors = []
    if not re.search(r"#include\s*<RazozazER4\.mqh>", text):
        errors.append(f"{source}: does not include <RazozazER4.mqh>")
    if re.search(r"#import", strip_comments(text)):
        errors.append(f"{source}: imports on its own instead of using the header")
    for name, count, line in read_calls(text):
        if name not in declarations:
            errors.append(f"{source}:{line}: {name} is not declared")
        elif count != declarations[name][2]:
            errors.append(f"{source}:{line}: {name} called with {count} arguments, declared with "
                          f"{declarations[name][2]}")
    return errors
