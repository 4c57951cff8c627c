#!/usr/bin/env bash
# Mutation run, on demand (not part of `make test`): flips one operator or literal on
# each of SAMPLE lines of the program (never the tests), chosen with SEED, or applies
# the mutants listed in FILE, rebuilds, runs the suite, puts the file back, and prints
# each mutant as killed (a test failed, and failed again when run once more),
# survived (every test passed), flaky (the failing test passed when run again: set
# aside) or not built, then the kill rate over the killed and the survived.
#
# usage: scripts/mutate.sh SAMPLE SEED
#        scripts/mutate.sh --list FILE
#        scripts/mutate.sh --locate FILE
# FILE holds one mutant a line, keyed by its statement rather than by a line number,
# so that edits elsewhere in the file leave it valid:
#   file<TAB>function<TAB>statement<TAB>old<TAB>new<TAB>occurrence
# function: the one the statement stands in (Class::name for a member); for a line
#   outside every function, the class or variable it belongs to, else "-".
# statement: its whole line, indentation and trailing spaces trimmed; it must stand
#   exactly once in that function.
# old, new: the texts swapped, with the spaces around an operator.
# occurrence: which start of old in the statement, counted from 1.
# Lines starting with "#" are comments. A mutant not found, or found more than once,
# fails the run before anything is built. --locate only prints where each mutant
# lies (file:line) and exits. A sampled run writes its mutants in the list's form to
# build-mutate/sampled-SAMPLE-SEED.txt, to be run again with --list; it samples
# only statements the list can key.
# The build goes to build-mutate/ (or $OSTRAND_MUTATE_BUILD); the report to
# build-mutate/mutants.txt as well as to the terminal.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
usage="usage: scripts/mutate.sh SAMPLE SEED | --list FILE | --locate FILE"
list="" locate_only=""
case "${1:-}" in
  --list) list="$(realpath "${2:?$usage}")" ;;
  --locate) list="$(realpath "${2:?$usage}")"; locate_only=1 ;;
  *) sample="${1:?$usage}"; seed="${2:?$usage}" ;;
esac
build="${OSTRAND_MUTATE_BUILD:-$top/build-mutate}"
report="$build/mutants.txt"
cd "$top"

# "sample SAMPLE SEED" prints a sample in the list's form; "locate FILE" prints each
# mutant of FILE as "file<TAB>line<TAB>column<TAB>old<TAB>new" (column from 0), or
# names every one it cannot place and fails.
mutants_tool() {
  python3 - "$@" <<'EOF'
import pathlib, random, re, sys

def code_only(text):
    """The text with comments, string and character literals and preprocessor lines blanked, newlines kept."""
    out, i, n = [], 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c in ' \t':
            out.append(c); i += 1; continue
        if line_start and c == '#':  # a directive, with its continuation lines
            while i < n and text[i] != '\n':
                if text[i] == '\\' and i + 1 < n and text[i + 1] == '\n':
                    out.append(' \n'); i += 2; continue
                out.append(' '); i += 1
            continue
        line_start = False
        if c == '\n':
            out.append(c); i += 1; line_start = True; continue
        if text.startswith('//', i):
            while i < n and text[i] != '\n':
                out.append(' '); i += 1
            continue
        if text.startswith('/*', i):
            end = text.find('*/', i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:end])); i = end; continue
        if c == '"' and re.search(r'(?:^|\W)(?:L|u8|u|U)?R$', text[max(0, i - 4):i]):  # a raw string
            delimiter = text[i + 1:text.index('(', i)]
            end = text.index(')' + delimiter + '"', i) + len(delimiter) + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:end])); i = end; continue
        if c == "'":
            word = re.search(r"[\w'.]*$", text[max(0, i - 40):i]).group(0)
            if word[:1].isdigit():  # a digit separator
                out.append(c); i += 1; continue
        if c in '"\'':
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == '\\' else 1
            out.append(c + ' ' * (j - i - 1) + c); i = j + 1; continue
        out.append(c); i += 1
    return ''.join(out)

def classify(header):
    """What a brace opens at namespace or class scope: (kind, name)."""
    h = ' '.join(header.split())
    if re.match(r'^(inline\s+)?namespace\b', h) or re.match(r'^extern\s*""', h):
        return 'namespace', None
    paren, equals = h.find('('), -1
    m = re.search(r'(?<![=!<>])=(?!=)', h)
    if m: equals = m.start()
    if paren >= 0 and (equals < 0 or paren < equals) and not re.match(r'^(template\s*<[^>]*>\s*)?(class|struct|union|enum)\b', h):
        before = h[:paren].rstrip()
        if before.endswith('operator'):  # operator()
            before += '()'
        m = re.search(r'([\w:~]*operator\s*\S+|[\w:~]+)$', before)
        return 'function', m.group(1) if m else before
    m = re.match(r'^(?:template\s*<[^>]*>\s*)?(?:class|struct|union|enum(?:\s+class)?)\s+(\w+)', h)
    if m:
        return 'class', m.group(1)
    name_part = h[:equals] if equals >= 0 else h
    m = re.search(r'(\w+)\s*(\[[^\]]*\]\s*)*$', name_part.strip())
    return 'data', m.group(1) if m else '-'

def scopes(path):
    """The function (else class, or variable) each line stands in, '-' outside every one; index 0 is line 1."""
    code = code_only(pathlib.Path(path).read_text(encoding='utf-8'))
    lines = code.split('\n')
    names = ['-'] * len(lines)
    stack = []  # (kind, qualified name) of each open brace
    header, header_line = '', 0  # the text since the last brace or semicolon, and its first line

    def name_of(stack):
        function = next((s[1] for s in stack if s[0] in ('function', 'block')), None)
        named = [s[1] for s in stack if s[0] != 'namespace']
        return (1, function) if function else (0, named[-1]) if named else (0, None)
    for number, line in enumerate(lines):
        seen = [name_of(stack)]
        for ch in line:
            inside = next((s for s in stack if s[0] == 'function'), None)
            if ch == '{':
                if inside:
                    stack.append(('block', inside[1]))
                else:
                    kind, name = classify(header)
                    outer = [s[1] for s in stack if s[0] == 'class']
                    if kind in ('function', 'class') and outer:
                        name = '::'.join(outer + [name])
                    elif kind == 'data' and stack and stack[-1][0] == 'class':
                        kind, name = 'block', stack[-1][1]  # a member's initialiser
                    stack.append((kind, name))
                    if kind != 'namespace':
                        for k in range(header_line, number):
                            names[k] = name
                header, header_line = '', number
                seen.append(name_of(stack))
            elif ch == '}':
                if stack: stack.pop()
                header, header_line = '', number
            elif ch == ';':
                header, header_line = '', number
            else:
                if not header.strip() and not ch.isspace():
                    header_line = number
                header += ch
        # The first function the line stands in, else the innermost class or variable.
        names[number] = max(seen, key=lambda s: (s[0], s[1] is not None))[1] or '-'
        header += ' '
    return names

def starts(text, old):
    """Every position at which `old` starts in `text`."""
    return [k for k in range(len(text)) if text.startswith(old, k)]

def locate(file, function, statement, old, occurrence):
    """(line, column) of the mutant, or an error message."""
    try:
        source = pathlib.Path(file).read_text(encoding='utf-8').split('\n')
        names = scopes(file)
    except OSError as error:
        return f'{file}: {error.strerror}'
    found = [k for k, line in enumerate(source) if names[k] == function and line.strip() == statement]
    if len(found) != 1:
        where = 'not found' if not found else 'found on lines ' + ', '.join(str(k + 1) for k in found)
        return f'{file}: in {function}: "{statement}" {where}'
    line = source[found[0]]
    at = starts(line.strip(), old)
    if not 1 <= occurrence <= len(at):
        return f'{file}:{found[0] + 1}: "{old}" occurs {len(at)} times in the statement, not {occurrence}'
    return found[0] + 1, len(line) - len(line.lstrip()) + at[occurrence - 1]

def sample(count, seed):
    # Binary operators as the code spells them (spaced), and whole-word literals.
    swaps = [(' == ', ' != '), (' != ', ' == '), (' <= ', ' < '), (' >= ', ' > '), (' < ', ' <= '),
             (' > ', ' >= '), (' && ', ' || '), (' || ', ' && '), (' + ', ' - '), (' - ', ' + '),
             ('true', 'false'), ('false', 'true')]
    number = re.compile(r'(?<![\w.])(\d+)(?![\w.])')
    candidates = []
    for folder in ['base', 'app', 'ui', 'search', 'actions', 'about', 'core']:
        for path in sorted(pathlib.Path(folder).glob('*.cpp')) if pathlib.Path(folder).is_dir() else []:
            source = path.read_text(encoding='utf-8').split('\n')
            names = scopes(path)
            count_of = {}
            for k, line in enumerate(source):
                count_of[names[k], line.strip()] = count_of.get((names[k], line.strip()), 0) + 1
            for k, line in enumerate(source):
                code = line.split('//')[0]
                stripped = code.strip()
                if not stripped or stripped.startswith(('#', '*', 'static_assert')) or '"' in code:
                    continue
                if count_of[names[k], line.strip()] > 1 or '\t' in line:  # no key would name it alone
                    continue
                found = []
                for old, new in swaps:
                    pattern = r'\b' + old + r'\b' if old.isalpha() else re.escape(old)
                    found += [(m.start(), old, new) for m in re.finditer(pattern, code)]
                found += [(m.start(1), m.group(1), str(int(m.group(1)) + 1)) for m in number.finditer(code)]
                if found:
                    candidates.append((str(path), names[k], line, found))
    random.seed(seed)
    for path, function, line, found in random.sample(candidates, min(count, len(candidates))):
        column, old, new = random.choice(found)
        occurrence = starts(line.strip(), old).index(column - (len(line) - len(line.lstrip()))) + 1
        print('\t'.join([path, function, line.strip(), old, new, str(occurrence)]))

def locate_all(list_file):
    failed = False
    for number, entry in enumerate(open(list_file, encoding='utf-8').read().split('\n'), 1):
        if not entry.strip() or entry.startswith('#'):
            continue
        fields = entry.split('\t')
        if len(fields) != 6 or not fields[5].isdigit():
            print(f'{list_file}:{number}: not file, function, statement, old, new, occurrence', file=sys.stderr)
            failed = True
            continue
        file, function, statement, old, new, occurrence = fields
        found = locate(file, function, statement, old, int(occurrence))
        if isinstance(found, str):
            print(f'{list_file}:{number}: {found}', file=sys.stderr)
            failed = True
        else:
            print(f'{file}\t{found[0]}\t{found[1]}\t{old}\t{new}')
    sys.exit(1 if failed else 0)

if sys.argv[1] == 'sample':
    sample(int(sys.argv[2]), int(sys.argv[3]))
else:
    locate_all(sys.argv[2])
EOF
}

if [ -n "$list" ]; then
  mutants="$(mutants_tool locate "$list")" || { echo "mutate.sh: the list $list does not match the code" >&2; exit 1; }
  if [ -n "$locate_only" ]; then
    while IFS=$'\t' read -r file line column old new; do
      echo "$file:$line '${old// /}' -> '${new// /}'"
    done <<< "$mutants"
    exit 0
  fi
else
  mkdir -p "$build"
  sampled="$build/sampled-$sample-$seed.txt"
  mutants_tool sample "$sample" "$seed" > "$sampled"
  mutants="$(mutants_tool locate "$sampled")"
fi

"$top/scripts/setup.sh"
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target ostrand_tests >/dev/null

apply() {  # file line column old new
  python3 - "$@" <<'EOF'
import sys
path, line, column, old, new = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
lines = open(path, encoding='utf-8').read().split('\n')
text = lines[line - 1]
assert text[column:column + len(old)] == old, (path, line, text)
lines[line - 1] = text[:column] + new + text[column + len(old):]
open(path, 'w', encoding='utf-8').write('\n'.join(lines))
EOF
}

mkdir -p "$build"
: > "$report"
# An interrupted run puts the mutated file back too.
current=""
trap '[ -n "$current" ] && cp "$build/original.cpp" "$current" && touch "$current"' EXIT
killed=0 survived=0 unbuilt=0 flaky=0
while IFS=$'\t' read -r file line column old new; do
  [ -n "$file" ] || continue
  cp "$file" "$build/original.cpp"
  current="$file"
  apply "$file" "$line" "$column" "$old" "$new"
  label="$file:$line '${old// /}' -> '${new// /}'"
  if ! cmake --build "$build" --target ostrand_tests >/dev/null 2>&1; then
    verdict="not built"; unbuilt=$((unbuilt + 1))
  elif OSTRAND_NO_RERUN=1 OSTRAND_BUILD="$build" "$top/scripts/test.sh" --stop-on-failure --timeout 120 >"$build/last-run.txt" 2>&1; then
    verdict="survived"; survived=$((survived + 1))
  else
    failed="$(grep -m1 -o -E '[A-Za-z0-9_/]+\.[A-Za-z0-9_/]+ .*\*\*\*(Failed|Timeout|Exception)' "$build/last-run.txt" |
      cut -d' ' -f1 || true)"
    # A kill counts only when the failing test fails again on the same mutant: a
    # test that passes on its second run failed by timing, not by the mutant. CTest
    # reruns what failed itself, parameterised rows included.
    if OSTRAND_NO_RERUN=1 OSTRAND_BUILD="$build" "$top/scripts/test.sh" --rerun-failed --timeout 120 >"$build/rerun.txt" 2>&1; then
      verdict="flaky ${failed} (set aside)"; flaky=$((flaky + 1))
    else
      verdict="killed ${failed}"; killed=$((killed + 1))
    fi
  fi
  cp "$build/original.cpp" "$file"
  touch "$file"
  current=""
  echo "$verdict  $label" | tee -a "$report"
done <<< "$mutants"
cmake --build "$build" --target ostrand_tests >/dev/null 2>&1 || true
total=$((killed + survived))
rate=$([ "$total" -gt 0 ] && echo $((100 * killed / total)) || echo 0)
echo "mutants: $killed killed, $survived survived, $flaky set aside as flaky, $unbuilt not built; kill rate $rate %" |
  tee -a "$report"
