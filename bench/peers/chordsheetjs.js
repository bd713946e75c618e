// Parses a whole chords-over-words sheet (argv[2]) with ChordSheetJS, transposes it by argv[3] steps and prints it.
const fs = require('fs');
const ChordSheetJS = require('chordsheetjs');
const text = fs.readFileSync(process.argv[2], 'utf8');
const song = new ChordSheetJS.ChordsOverWordsParser().parse(text);
process.stdout.write(new ChordSheetJS.TextFormatter().format(song.transpose(Number(process.argv[3]))));
