"""Reads MQL4 sources the way the checks need them: the declarations of an
#import block, the wrappers a header defines after it and the library calls of
a program. Used by tools/check-mql4 and its tests.

An export whose name is another export's name plus W is that export's wide twin
(Unicode texts, for terminal builds 600 and later). The wide header imports the
twins and wraps each under the plain name; the ANSI header imports the plain
exports only."""
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


def read_parameter(parameter):
    """(type, name, bytes on the stack) of one declared parameter, or an error text. The type is
    written without blanks and name: "int", "string&" (a text the library writes into), "int&[]"."""
    m = re.fullmatch(r"\s*(int|double|string)\s*(&)?\s*(\w+)\s*(\[\s*\])?\s*", parameter)
    if not m:
        return None, f"unreadable parameter '{parameter.strip()}'"
    kind, reference, name, array = m.groups()
    if array and not reference:
        return None, f"array parameter '{parameter.strip()}' without &"
    if reference and not array and kind != "string":
        return None, f"reference parameter '{parameter.strip()}' is neither an array nor a string"
    if array and kind == "double":
        return None, f"double array '{parameter.strip()}' is not part of the library's contract"
    size = 4 if reference else TYPES_BYTES[kind]
    return (kind + (reference or "") + ("[]" if array else ""), name, size), None


def read_parameters(name, parameters, errors):
    """[(type, name, bytes)] of a parameter list; unreadable ones go to errors."""
    out = []
    for parameter in filter(str.strip, parameters.split(",")):
        read, error = read_parameter(parameter)
        if error:
            errors.append(f"{name}: {error}")
        else:
            out.append(read)
    return out


def import_block(text, library="RazozazER4.dll"):
    """The match of the #import block of `library` in comment-free text, or None."""
    return re.search(r'#import\s+"' + re.escape(library) + r'"(.*?)^\s*#import\s*$', text, re.S | re.M)


def read_imports(text, library="RazozazER4.dll"):
    """{name: (result kind, argument bytes, parameter types)} of the #import block
    of `library`, and a list of errors."""
    text = strip_comments(text)
    block = import_block(text, library)
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
        read = read_parameters(name, parameters, errors)
        if name in declarations:
            errors.append(f"{name} declared twice")
        declarations[name] = (kind, sum(size for _, _, size in read), tuple(t for t, _, _ in read))
    return declarations, errors


def read_wrappers(text):
    """{name: (result kind, argument bytes, parameter types, callee, passes its parameters in order,
    returns the callee's result)} of the one-statement functions defined after the #import block."""
    text = strip_comments(text)
    block = import_block(text)
    wrappers, errors = {}, []
    for m in re.finditer(r"(\w+)\s+(\w+)\s*\(([^()]*)\)\s*\{([^{}]*)\}", text[block.end() if block else 0:]):
        kind, name, parameters, body = m.groups()
        call = re.fullmatch(r"\s*(return\s+)?(\w+)\s*\((.*)\)\s*;\s*", body, re.S)
        if not call:
            errors.append(f"{name}: the body is not one call of an import")
            continue
        read = read_parameters(name, parameters, errors)
        arguments = [a.strip() for a in split_arguments(call.group(3))]
        wrappers[name] = (kind, sum(size for _, _, size in read), tuple(t for t, _, _ in read), call.group(2),
                          arguments == [n for _, n, _ in read], bool(call.group(1)))
    return wrappers, errors


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


def twins(exports):
    """{ANSI export: its wide twin} of an export table."""
    return {name[:-1]: name for name in exports if name.endswith("W") and name[:-1] in exports}


def era(exports, wide):
    """The exports a header of one era imports: the wide one the twins in place of their ANSI exports,
    the ANSI one everything but the twins."""
    pairs = twins(exports)
    left_out = set(pairs) if wide else set(pairs.values())
    return {name: row for name, row in exports.items() if name not in left_out}


def check_header(declarations, exports, wide):
    """Errors where a header's declarations and the export table {name: (bytes, neutral)} differ."""
    errors, expected = [], era(exports, wide)
    for name, (argbytes, neutral) in expected.items():
        if name not in declarations:
            errors.append(f"{name} is not declared")
            continue
        kind, total, _ = declarations[name]
        if total != argbytes:
            errors.append(f"{name}: declared with {total} argument bytes, the export takes {argbytes}")
        if kind != neutral_kind(neutral):
            errors.append(f"{name}: declared {kind}, the export returns {neutral_kind(neutral)}")
    for name in declarations:
        if name in exports and name not in expected:
            errors.append(f"{name} is declared but belongs to the other terminal builds' header")
        elif name not in exports:
            errors.append(f"{name} is declared but not exported")
    return errors


def check_wrappers(wrappers, declarations, exports):
    """Errors where the wide header does not call each twin under its ANSI name with the same arguments."""
    errors, pairs = [], twins(exports)
    for ansi, twin in pairs.items():
        if ansi not in wrappers:
            errors.append(f"{ansi} has no wrapper")
            continue
        kind, _, types, callee, in_order, returns = wrappers[ansi]
        if callee != twin:
            errors.append(f"{ansi} calls {callee} instead of {twin}")
            continue
        if twin in declarations and (kind, types) != (declarations[twin][0], declarations[twin][2]):
            errors.append(f"{ansi} is not declared as {twin} is")
        if not in_order:
            errors.append(f"{ansi} does not pass its parameters to {twin} in their order")
        if kind != "void" and not returns:
            errors.append(f"{ansi} drops the result of {twin}")
    for name in wrappers:
        if name not in pairs:
            errors.append(f"{name} wraps no text export")
    return errors


def check_program(text, headers, source):
    """Errors where a program calls the library outside what the headers declare. A program
    includes one header and reads the same with either: each call is checked against every
    header. headers: {header file name: {function name: (result kind, argument bytes,
    parameter types, ...)}}."""
    errors = []
    included = [h for h in re.findall(r"#include\s*<(\w+\.mqh)>", strip_comments(text)) if h in headers]
    if len(included) != 1:
        names = " and ".join(f"<{h}>" for h in (included or headers))
        return [f"{source}: includes " + (f"both {names}" if included else f"none of {names}")]
    if re.search(r"#import", strip_comments(text)):
        errors.append(f"{source}: imports on its own instead of using the header")
    for name, count, line in read_calls(text):
        declared = [functions[name] for functions in headers.values() if name in functions]
        for header, functions in headers.items():
            if name not in functions:
                errors.append(f"{source}:{line}: {name} is not declared in <{header}>")
        counts = sorted({len(d[2]) for d in declared})
        if declared and count not in counts:
            errors.append(f"{source}:{line}: {name} called with {count} arguments, declared with "
                          f"{' or '.join(map(str, counts))}")
    return errors
