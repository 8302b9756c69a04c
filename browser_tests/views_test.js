// The authors' line view and picture checked in Debian's headless Chromium
// and Firefox:
// node views_test.js SCENARIO_TOOL WRITE_TEST_PAIRS EXAMPLES_DIR [SHOTS_DIR]
// On the example pair, the installer's scenario and a generated 300 km line:
// the page loads without a console or page error; no two visible labels
// overlap at the whole-line view and at two zoom levels; zooming changes the
// shown km range; hovering a station shows its record and line. Also no two
// labels of draw's picture of the installer's line overlap.
'use strict';
const { execFileSync, spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, openPage } = require('./browser');
const { labelOverlaps } = require('./label_overlaps');
const { checkFinding, checkMarks, checkLabels, checkControls, markCentre } = require('./view_checks');

const [tool, writePairs, examples, shots] = process.argv.slice(2);
// The browsers to check in (VIEW_BROWSERS=chromium,firefox by default): ctest
// runs one test per browser, side by side.
const browsers = (process.env.VIEW_BROWSERS || 'chromium,firefox').split(',');
const { check, finish } = require('../testing/check_tally');

async function shownRange(page) {
  return page.$eval('#view', (svg) => [Number(svg.dataset.from), Number(svg.dataset.to)]);
}

async function noOverlaps(page, name, where) {
  const r = await labelOverlaps(page, '#view text');
  check(r.labels > 0, `${name} ${where}: no labels drawn`);
  check(r.pairs.length === 0, `${name} ${where}: ${r.pairs.length} overlapping labels, e.g. ${JSON.stringify(r.pairs.slice(0, 3))}`);
}

// `shot`: the name its screenshots take (none when empty).
async function checkView(browser, name, html, shot) {
  const { page, errors } = await openPage(browser, 'file://' + html, 1400, 1300);
  await noOverlaps(page, name, 'whole line');
  const [from, to] = await shownRange(page);
  if (shots && shot) await page.screenshot({ path: path.join(shots, `view_${shot}_whole.png`), fullPage: true });

  // The range box: the middle fifth of the line.
  const fifth = (to - from) / 5;
  await page.$eval('#from-km', (e, v) => { e.value = v; }, String((from + 2 * fifth) / 1000));
  await page.$eval('#to-km', (e, v) => { e.value = v; }, String((from + 3 * fifth) / 1000));
  await page.click('#range button[type=submit]');
  const [a, b] = await shownRange(page);
  check(Math.abs(a - (from + 2 * fifth)) < 1 && Math.abs(b - (from + 3 * fifth)) < 1, `${name}: the range box shows ${a}-${b}`);
  await noOverlaps(page, name, 'a fifth of the line');
  if (shots && shot) await page.screenshot({ path: path.join(shots, `view_${shot}_zoomed.png`), fullPage: true });

  // The wheel, four steps in over the objects panel.
  const svg = await page.$('#view');
  const r = await svg.boundingBox();
  await page.mouse.move(r.x + r.width / 2, r.y + 800);
  for (let i = 0; i < 4; ++i) await page.mouse.wheel({ deltaY: -100 });
  const [c, d] = await shownRange(page);
  check(d - c < b - a && c >= a && d <= b, `${name}: the wheel did not zoom in (${a}-${b} to ${c}-${d})`);
  await noOverlaps(page, name, 'zoomed by the wheel');

  // Hovering a station's mark shows its record with its file and line.
  await page.click('#whole-line');
  await page.$eval('#view', (svg) => svg.scrollIntoView({ block: 'end' }));
  const station = await markCentre(page, '#view .mark.station');
  await page.mouse.move(station.x, station.y);
  const record = await page.$eval('#record', (e) => e.textContent);
  check(/^stazione/.test(record) && /-\.txt:\d+$/.test(record), `${name}: hovering a station shows '${record}'`);

  await checkLabels(page, name, check);
  if (name.endsWith(' example')) await checkFastestRun(page, name);
  if (name.endsWith('problem')) await checkFinding(page, name, check);
  else await checkControls(page, name, check, to - from);
  const kinds = await checkMarks(page, name, check);
  if (name.endsWith('generated')) check(kinds.includes('plan-tunnel'), `${name}: no tunnel in the plan (${kinds})`);

  check(errors.length === 0, `${name}: ${errors.join('; ')}`);
  await page.close();
}

// The example's fastest run: drawn in the speed panel, standing at each of
// its three stops and never above the speed limit drawn under it (90 km/h at
// most); its earliest arrivals in the stations' table, each before the time.
async function checkFastestRun(page, name) {
  const run = await page.$eval('#view path.fastest-run', (p) => {
    const box = p.getBoundingClientRect();
    const values = p.getAttribute('d').split(/[ML]/).filter(Boolean).map((pt) => Number(pt.split(' ')[1]));
    return { height: box.height, width: box.width, values };
  }).catch(() => null);
  check(run !== null, `${name}: no fastest run drawn`);
  if (!run) return;
  check(run.width > 100 && run.height > 10, `${name}: the run's line is ${run.width}x${run.height}`);
  check(run.values.filter((v) => v === 0).length >= 3 && Math.max(...run.values) <= 90, `${name}: the run's speeds run from ${Math.min(...run.values)} to ${Math.max(...run.values)}`);
  const rows = await page.$$eval('#stations tbody tr', (trs) => trs.map((tr) => [tr.cells[2].textContent, tr.cells[3].textContent]));
  check(rows.length === 3 && rows.every(([time, earliest]) => /^\d\d:\d\d:\d\d$/.test(earliest) && earliest < time),
    `${name}: the stations' times and earliest arrivals are ${JSON.stringify(rows)}`);
}

// A small window: labels in order, none cut in its time; the names cut.
async function checkSmall(browser, name, html) {
  const { page, errors } = await openPage(browser, 'file://' + html, 800, 600);
  await noOverlaps(page, name, 'at 800x600');
  const cut = await checkLabels(page, `${name} at 800x600`, check);
  await checkMarks(page, `${name} at 800x600`, check);
  check(errors.length === 0, `${name} at 800x600: ${errors.join('; ')}`);
  await page.close();
  return cut;
}

// The example pair with problems: a signal's field that is not a number (the
// reading stops there), a skipped keyword (two letters off: one off is an
// error) and a station's minute of 75.
function writeProblemPair(dir) {
  const pair = path.join(dir, 'problem');
  fs.mkdirSync(pair);
  fs.copyFileSync(path.join(examples, 'VALDORNO_linea.txt'), path.join(pair, 'VALDORNO_linea.txt'));
  let train = fs.readFileSync(path.join(examples, 'VALDORNO_2417-.txt'), 'latin1');
  for (const [from, to] of [['segnale,    8400,   2, 3,', 'segnale,    8400,   2, x,'],
                            ['[segnali]\r\n', '[segnali]\r\nsegnalxx,    3000,   2, 4, 0,  0, 0,    2,  2,0,0, 0\r\n'],
                            ['0,   8,22, 0, Costalunga', '0,   8,75, 0, Costalunga']]) {
    if (!train.includes(from)) throw new Error(`the example no longer holds '${from}'`);
    train = train.replace(from, to);
  }
  fs.writeFileSync(path.join(pair, 'VALDORNO_2417-.txt'), train, 'latin1');
  return pair;
}

async function main() {
  if (!fs.existsSync(path.join(__dirname, 'node_modules', 'puppeteer-core')))
    throw new Error(`${__dirname}/node_modules is missing: run 'npm ci' in ${__dirname} (scripts/test.sh does)`);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'views-'));
  execFileSync(writePairs, [dir]);
  const pairs = [
    ['example', examples, 'VALDORNO', '2417'],
    ['installer', path.join(dir, 'installer'), 'LORVENA PF', '4316'],
    ['generated', path.join(dir, 'generated'), 'LINEA LUNGA', '300'],
    ['problem', writeProblemPair(dir), 'VALDORNO', '2417'],
  ];
  try {
    for (const kind of browsers) await checkIn(kind, dir, pairs);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// Every check in one browser; the failures name it.
async function checkIn(kind, dir, pairs) {
  const browser = await launch(kind);
  // The browser goes with this process whatever ends it.
  const timer = setTimeout(() => { console.error(`${kind}: browser checks took too long`); browser.process()?.kill('SIGKILL'); process.exit(1); }, 150000);
  try {
    for (const [name, pairDir, scenario, train] of pairs) {
      const html = path.join(dir, `${name}.html`);
      if (!fs.existsSync(html)) spawnSync(tool, ['view', pairDir, scenario, train, '--out', html]);
      await checkView(browser, `${kind}, ${name}`, html, kind === 'chromium' ? name : '');
    }
    const cut = await checkSmall(browser, `${kind}, installer`, path.join(dir, 'installer.html'));
    check(cut.length > 0, `${kind}, installer at 800x600: no station name was cut (the check of cutting would prove nothing)`);
    const svgFile = path.join(dir, 'installer.svg');
    if (!fs.existsSync(svgFile)) execFileSync(tool, ['draw', pairs[1][1], pairs[1][2], pairs[1][3], '--out', svgFile]);
    const { page } = await openPage(browser, 'file://' + svgFile, 1000, 1460);
    const r = await labelOverlaps(page, 'text');
    check(r.pairs.length === 0, `${kind}, draw, installer: ${r.pairs.length} overlapping labels, e.g. ${JSON.stringify(r.pairs.slice(0, 3))}`);
  } finally {
    clearTimeout(timer);
    await browser.close();
  }
}

main().then(() => finish('browser views'), (e) => {
  console.error(e.stack);
  process.exit(1);
});
