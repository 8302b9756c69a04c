// Hostile station names and folder names through every output of the
// authors' tool, each read by a real parser that must find the name intact:
// node hostile_names_test.js SCENARIO_TOOL EXAMPLES_DIR
// view's page in Chromium and Firefox, draw's picture in xmllint and in the
// browser, dump's JSON with JSON.parse, its CSV with Python's csv reader, its
// text and diff's lines by their quoting, compile --json, check --format json
// and check --format sarif with JSON.parse.
'use strict';
const { execFileSync, spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, openPage } = require('./browser');

const [tool, examples] = process.argv.slice(2);
const { check, finish } = require('../testing/check_tally');

// Windows-1252 bytes of each name as the description holds it, the example's
// name it replaces, and the text a reader must find.
const kNames = [
  { old: 'PIANELLO', bytes: Buffer.from([...Buffer.from('<!--<script>"q"&'), 0x80, 0x81, 0x9f]), shown: '<!--<script>"q"&\u20ac\u0081\u0178' },
  { old: 'Costalunga', bytes: Buffer.from([...Buffer.from(']]>'), 0x01, ...Buffer.from('</script>')]), shown: ']]>\u0001</script>' },
  { old: 'VALDORNO CENTRALE', bytes: Buffer.from([...Buffer.from("a'b\\c&amp;"), 0x7f, 0x9d, 0x93]), shown: "a'b\\c&amp;\u007f\u009d\u201c" },
];
// XML text cannot hold C0 controls: the picture shows a space for each.
const inXml = (s) => s.replace(/[\u0000-\u0008\u000b-\u001f]/g, ' ');

function replaceBytes(buffer, from, to) {
  const at = buffer.indexOf(from);
  if (at < 0) throw new Error(`'${from}' is not in the example`);
  return Buffer.concat([buffer.subarray(0, at), to, buffer.subarray(at + Buffer.byteLength(from))]);
}

// The example pair in a folder whose own name is hostile, its stations renamed.
function writePair(dir) {
  const pair = path.join(dir, 'pair <!--&"]]>\'');
  fs.mkdirSync(pair);
  fs.copyFileSync(path.join(examples, 'VALDORNO_linea.txt'), path.join(pair, 'VALDORNO_linea.txt'));
  let train = fs.readFileSync(path.join(examples, 'VALDORNO_2417-.txt'));
  for (const n of kNames) train = replaceBytes(train, n.old, n.bytes);
  fs.writeFileSync(path.join(pair, 'VALDORNO_2417-.txt'), train);
  return pair;
}

const run = (...args) => execFileSync(tool, args, { encoding: 'utf8' });

async function checkPage(browser, kind, html) {
  const { page, errors } = await openPage(browser, 'file://' + html, 1400, 1000);
  const names = await page.$$eval('#stations tbody tr td:first-child', (tds) => tds.map((td) => td.textContent));
  check(JSON.stringify(names) === JSON.stringify(kNames.map((n) => n.shown)), `${kind}, view: the stations' table reads ${JSON.stringify(names)}`);
  const scripts = await page.$$eval('script', (s) => s.length);
  check(scripts === 2, `${kind}, view: ${scripts} script elements instead of 2`);
  const labels = await page.$$eval('#view text', (t) => t.map((e) => e.textContent));
  for (const n of kNames) check(labels.some((l) => l.includes(n.shown)), `${kind}, view: no label shows ${JSON.stringify(n.shown)}`);
  check(errors.length === 0, `${kind}, view: ${errors.join('; ')}`);
  await page.close();
}

async function checkPicture(browser, kind, svg) {
  const { page, errors } = await openPage(browser, 'file://' + svg, 1000, 1400);
  const texts = await page.$$eval('text', (t) => t.map((e) => e.textContent));
  for (const n of kNames) check(texts.some((t) => t.includes(inXml(n.shown))), `${kind}, draw: no text shows ${JSON.stringify(inXml(n.shown))}`);
  check(errors.length === 0, `${kind}, draw: ${errors.join('; ')}`);
  await page.close();
}

function checkXmllint(svg) {
  const r = spawnSync('xmllint', ['--noout', svg], { encoding: 'utf8' });
  if (r.error) throw new Error(`xmllint: ${r.error.message} (Debian's libxml2-utils; scripts/test.sh installs it)`);
  check(r.status === 0, `xmllint reads draw's picture with: ${r.stderr}`);
}

// Every file of the compiled pair through dump, in its three forms.
function checkDump(table) {
  const json = JSON.parse(run('dump', table, '--json'));
  check(JSON.stringify(json.records.slice(1, 4).map((r) => r.nome)) === JSON.stringify(kNames.map((n) => n.shown)),
        `dump --json: the names read ${JSON.stringify(json.records.slice(1, 4).map((r) => r.nome))}`);
  const script = 'import csv,json,sys\nrows=list(csv.DictReader(sys.stdin))\nprint(json.dumps([r["nome"] for r in rows[1:4]]))';
  const csv = spawnSync('python3', ['-c', script], { input: run('dump', table, '--csv'), encoding: 'utf8' });
  if (csv.error) throw new Error(`python3: ${csv.error.message}`);
  check(csv.status === 0 && JSON.stringify(JSON.parse(csv.stdout)) === JSON.stringify(kNames.map((n) => n.shown)),
        `dump --csv read by Python's csv reader: ${csv.stdout}${csv.stderr}`);
  const text = run('dump', table).split('\n');
  kNames.forEach((n, i) => {
    const m = /nome="((?:[^"]|"")*)" /.exec(text[i + 1]);
    check(m && m[1].replace(/""/g, '"') === n.shown, `dump: line ${i + 1} reads ${JSON.stringify(text[i + 1])}`);
  });
}

// diff's names are JSON strings: each one read back is the name.
function checkDiff(dir, pair, table) {
  const plain = path.join(dir, 'plain');
  fs.mkdirSync(plain);
  run('compile', examples, 'VALDORNO', '2417', '--out', plain);
  const r = spawnSync(tool, ['diff', plain, path.dirname(table)], { encoding: 'utf8' });
  check(r.status === 1, `diff exits ${r.status}: ${r.stderr}`);
  check(!/[\u0000-\u0008\u000b-\u001f]/.test(r.stdout), `diff prints a control character: ${JSON.stringify(r.stdout)}`);
  kNames.forEach((n) => {
    const line = r.stdout.split('\n').find((l) => l.includes(`nome "${n.old}" -> `));
    const quoted = line && line.slice(line.indexOf(' -> ') + 4);
    let read = null;
    try { read = JSON.parse(quoted); } catch (e) { read = `unreadable (${e.message})`; }
    check(read === n.shown, `diff: ${n.old} renamed to ${JSON.stringify(read)} in ${JSON.stringify(line)}`);
  });
}

// A station moved onto the one before it: the error names the moved station
// and its note the other, and both give the hostile folder's file.
function checkCheckFormats(dir, pair) {
  const moved = path.join(dir, 'moved <!--&"]]>\'');
  fs.mkdirSync(moved);
  fs.copyFileSync(path.join(pair, 'VALDORNO_linea.txt'), path.join(moved, 'VALDORNO_linea.txt'));
  const train = fs.readFileSync(path.join(pair, 'VALDORNO_2417-.txt'));
  fs.writeFileSync(path.join(moved, 'VALDORNO_2417-.txt'), replaceBytes(train, 'stazione,    5800', Buffer.from('stazione,    1450')));
  const file = path.join(moved, 'VALDORNO_2417-.txt');
  const named = (messages) => kNames.slice(0, 2).every((n) => messages.some((m) => m.includes(`'${n.shown}'`)));
  const checked = (format) => spawnSync(tool, ['check', moved, 'VALDORNO', '2417', '--format', format], { encoding: 'utf8' });

  const json = checked('json');
  let report = null;
  try { report = JSON.parse(json.stdout); } catch (e) { check(false, `check --format json: unreadable (${e.message}): ${json.stdout}`); }
  if (report) {
    const messages = report.diagnostics.map((d) => d.message);
    check(json.status === 1 && report.err_code === 22, `check --format json: exit ${json.status}, ${JSON.stringify(report)}`);
    check(named(messages), `check --format json: the names read ${JSON.stringify(messages)}`);
    check(report.diagnostics.every((d) => d.file === file), `check --format json: files ${JSON.stringify(report.diagnostics.map((d) => d.file))}`);
  }

  const sarif = checked('sarif');
  let log = null;
  try { log = JSON.parse(sarif.stdout); } catch (e) { check(false, `check --format sarif: unreadable (${e.message}): ${sarif.stdout}`); }
  if (log) {
    const results = log.runs[0].results;
    check(named(results.map((r) => r.message.text)), `check --format sarif: the names read ${JSON.stringify(results.map((r) => r.message.text))}`);
    const uris = results.map((r) => r.locations[0].physicalLocation.artifactLocation.uri);
    check(uris.every((u) => u.startsWith('file://') && decodeURIComponent(u.slice('file://'.length)) === file),
          `check --format sarif: the URIs ${JSON.stringify(uris)} are not ${JSON.stringify(file)}`);
  }
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'hostile-'));
  try {
    const pair = writePair(dir);
    const out = path.join(dir, 'compiled');
    const report = JSON.parse(run('compile', pair, 'VALDORNO', '2417', '--json', '--out', out).split('\n')[0]);
    check(report.errors === 0 && report.files.length === 3, `compile --json: ${JSON.stringify(report)}`);
    const table = path.join(out, 'VALDORNO_2417.sim');
    checkDump(table);
    checkDiff(dir, pair, table);
    checkCheckFormats(dir, pair);
    const html = path.join(dir, 'view.html'), svg = path.join(dir, 'draw.svg');
    run('view', pair, 'VALDORNO', '2417', '--out', html);
    run('draw', pair, 'VALDORNO', '2417', '--out', svg);
    checkXmllint(svg);
    for (const kind of ['chromium', 'firefox']) {
      const browser = await launch(kind);
      const timer = setTimeout(() => { console.error(`${kind}: took too long`); browser.process()?.kill('SIGKILL'); process.exit(1); }, 40000);
      try {
        await checkPage(browser, kind, html);
        await checkPicture(browser, kind, svg);
      } finally {
        clearTimeout(timer);
        await browser.close();
      }
    }
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().then(() => finish('hostile names'), (e) => {
  console.error(e.stack);
  process.exit(1);
});
