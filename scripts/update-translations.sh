#!/usr/bin/env bash
# Brings the translation files up to date with the texts in the code: new
# texts appear unfinished, texts no longer used go. The Swedish catalogues
# are split as the code is: the dialogs in one, everything else in the
# other. The English catalogue holds only the singular and plural forms of
# texts with a count.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=res/translations
"$LUPDATE" -locations none -no-obsolete engine document view shell res cli -ts "$ts/sonavel_sv.ts"
"$LUPDATE" -locations none -no-obsolete dialogs -ts "$ts/dialogs_sv.ts"
"$LUPDATE" -locations none -no-obsolete -pluralonly engine document view shell res cli dialogs -ts "$ts/sonavel_en.ts"
