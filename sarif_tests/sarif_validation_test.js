// The SARIF of `scenario_tool check --format sarif` checked by the SARIF
// multitool's validator (the JSON schema of SARIF 2.1.0 and its rules):
// node sarif_validation_test.js SCENARIO_TOOL EXAMPLES_DIR
// A pair with errors, notes and a warning in a folder whose name needs
// percent-encoding, and the clean example pair, must give no error; a copy
// broken on purpose must give one, so a validator that read nothing fails.
// Exits 77 (skipped) when sarif_tests/node_modules is missing.
'use strict';
const { spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const validator = path.join(__dirname, 'node_modules', '@microsoft', 'sarif-multitool-linux', 'Sarif.Multitool');
if (!fs.existsSync(validator)) {
  console.log(`skipped: ${validator} is missing; scripts/test.sh installs it (npm ci in sarif_tests/)`);
  process.exit(77);
}

const [tool, examples] = process.argv.slice(2);
const { check, fail, finish } = require('../testing/check_tally');

function edited(text, edits) {
  for (const [from, to] of edits) {
    if (!text.includes(from)) throw new Error(`'${from}' is not in the example`);
    text = text.replace(from, to);
  }
  return text;
}

// Errors with notes (two records on one cell, stations too close), an
// unreadable field, an off-step reference, and a warning.
function writeBrokenPair(dir) {
  const pair = path.join(dir, 'pair <&"#%>');
  fs.mkdirSync(pair);
  const line = fs.readFileSync(path.join(examples, 'VALDORNO_linea.txt'), 'latin1');
  const train = fs.readFileSync(path.join(examples, 'VALDORNO_2417-.txt'), 'latin1');
  fs.writeFileSync(path.join(pair, 'VALDORNO_linea.txt'),
                   edited(line, [['progressiva chilometrica uno,    0', 'progressiva chilometrica uno,    125']]), 'latin1');
  fs.writeFileSync(path.join(pair, 'VALDORNO_2417-.txt'), edited(train, [
    ['segnale,    4300,', 'segnale,    2400,'], ['stazione,    5800', 'stazione,    1450'],
    ['sabbia,    150', 'sabbia,    x'], ['velocita,    1000,    90', 'velocita,    1000,    93']]), 'latin1');
  return pair;
}

function sarifOf(pair, file) {
  const r = spawnSync(tool, ['check', pair, 'VALDORNO', '2417', '--format', 'sarif'], { encoding: 'utf8' });
  check(r.stderr === '', `check --format sarif wrote to standard error: ${r.stderr}`);
  fs.writeFileSync(file, r.stdout);
  return JSON.parse(r.stdout);
}

function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'sarif-'));
  try {
    const broken = path.join(dir, 'mistakes.sarif'), clean = path.join(dir, 'clean.sarif');
    const log = sarifOf(writeBrokenPair(dir), broken);
    const levels = log.runs[0].results.map((r) => r.level);
    check(['error', 'warning', 'note'].every((l) => levels.includes(l)), `the mistakes give levels ${levels}`);
    check(sarifOf(examples, clean).runs[0].results.length === 0, 'the example pair gives results');
    // The control: a region whose startLine is 0 breaks the schema.
    const control = path.join(dir, 'control.sarif');
    log.runs[0].results[0].locations[0].physicalLocation.region.startLine = 0;
    fs.writeFileSync(control, JSON.stringify(log));

    const out = path.join(dir, 'validation.sarif');
    // The validator's runtime maps its code through a file as large as its
    // code reserve unless told not to, which the tests' file-size limit
    // (ulimit -f in scripts/test.sh) ends with SIGXFSZ.
    const env = { ...process.env, DOTNET_SYSTEM_GLOBALIZATION_INVARIANT: '1', DOTNET_EnableWriteXorExecute: '0' };
    const r = spawnSync(validator, ['validate', broken, clean, control, '--output', out, '--log', 'ForceOverwrite'],
                        { encoding: 'utf8', env });
    if (r.error) throw r.error;
    check(fs.existsSync(out), `the validator wrote no report (status ${r.status}, signal ${r.signal}): ${r.stdout}${r.stderr}`);
    const report = JSON.parse(fs.readFileSync(out, 'utf8'));
    const errors = (name) => report.runs[0].results.filter((x) => (x.level ?? 'warning') === 'error' &&
        x.locations?.[0]?.physicalLocation?.artifactLocation?.uri?.endsWith(name));
    for (const name of ['mistakes.sarif', 'clean.sarif'])
      check(errors(name).length === 0, `${name}: ${JSON.stringify(errors(name).map((x) => [x.ruleId, x.message]))}`);
    check(errors('control.sarif').length > 0, `the validator found nothing wrong in the broken control: ${r.stdout}`);
    const advice = report.runs[0].results.filter((x) => (x.level ?? 'warning') !== 'error').map((x) => x.ruleId);
    console.log(`validator advice (not failures): ${[...new Set(advice)].join(', ') || 'none'}`);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

try {
  main();
} catch (e) {
  fail(e.stack);
}
finish('sarif validation');
