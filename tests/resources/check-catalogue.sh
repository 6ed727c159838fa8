#!/usr/bin/env bash
# Runs lupdate over the program's folders into a copy of the English
# catalogue and fails on any text without a finished translation: new texts
# come in unfinished. Also checks what a translation must keep of its source:
# the %n place markers, an accelerator (&) where the source has one, and the
# shortcut after a tab.
# Arguments: lupdate, the catalogue, the source folder, the folders to read.
set -euo pipefail
lupdate=$1
catalogue=$2
src=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$catalogue" "$work/check.ts"
folders=()
for f in "$@"; do folders+=("$src/$f"); done
if ! "$lupdate" -locations none -no-obsolete "${folders[@]}" -ts "$work/check.ts" >"$work/log" 2>&1; then
    cat "$work/log"
    exit 1
fi
/usr/bin/python3 - "$work/check.ts" <<'PY'
import re, sys
import xml.etree.ElementTree as ET

def accelerator(text):
    return re.search(r'(?<!&)&(?!&)', text.replace('&&', '')) is not None

problems, count = [], 0
for context in ET.parse(sys.argv[1]).getroot().iter('context'):
    name = context.findtext('name')
    for message in context.iter('message'):
        count += 1
        source = message.findtext('source') or ''
        node = message.find('translation')
        english = node.text or '' if node is not None else ''
        where = '%s: %r' % (name, source)
        if node is None or node.get('type') in ('unfinished', 'vanished', 'obsolete') or not english:
            problems.append('not translated: ' + where)
            continue
        if sorted(re.findall(r'%\d', source)) != sorted(re.findall(r'%\d', english)):
            problems.append('place markers differ: %s -> %r' % (where, english))
        if accelerator(source) and not accelerator(english):
            problems.append('accelerator lost: %s -> %r' % (where, english))
        if '\t' in source and source.split('\t', 1)[1].lower() != english.partition('\t')[2].lower():
            problems.append('shortcut differs: %s -> %r' % (where, english))
print('\n'.join(problems))
print('%d texts, %d problems' % (count, len(problems)))
sys.exit(1 if problems or count == 0 else 0)
PY
