#!/usr/bin/env bash
# Brings the translation files up to date with the texts in the code: new
# texts appear unfinished, texts no longer used go. The Swedish catalogues
# are split as the code is: the dialogs in one, everything else in the
# other. The English catalogue holds only the singular and plural forms of
# texts with a count.
#
# qtdialogs_sv.ts is kept by hand: Swedish for the texts of Qt's own dialogs
# (file, print, preview, page set-up, colour and font), which the Swedish
# catalogue Debian ships for Qt 6 lacks. It is installed after Qt's own
# catalogue, so its texts win; tests/gui/QtDialogsTest.cpp finds any text
# of those dialogs that a new Qt adds and it lacks.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=res/translations
"$LUPDATE" -locations none -no-obsolete engine document view shell res cli -ts "$ts/sonavel_sv.ts"
"$LUPDATE" -locations none -no-obsolete dialogs -ts "$ts/dialogs_sv.ts"
"$LUPDATE" -locations none -no-obsolete -pluralonly engine document view shell res cli dialogs -ts "$ts/sonavel_en.ts"
