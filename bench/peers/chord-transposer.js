// Transposes a whole song sheet (argv[2]) up by argv[3] steps with chord-transposer.
const fs = require('fs');
const Transposer = require('chord-transposer');
const text = fs.readFileSync(process.argv[2], 'utf8');
process.stdout.write(Transposer.transpose(text).up(Number(process.argv[3])).toString());
