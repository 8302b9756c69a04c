// The line view's pictures and draw's for the README and the authors' guide,
// taken in Debian's headless Chromium from the installer's scenario:
// node view_screenshots.js SCENARIO_TOOL WRITE_TEST_PAIRS EXAMPLES_DIR DOCS_DIR
// lorvena_pf_line.png (draw's picture of the line, at its own size),
// view_lorvena_pf_whole.png (the whole line), view_lorvena_pf_zoomed.png (km
// 40-56, a station's record beside it), view_problem.png (the example pair
// with a field that is not a number: the error picked, the unread part),
// view_fastest_run.png (the example pair: the fastest run over the speed
// limits, the earliest arrivals in the stations' table).
'use strict';
const { spawnSync, execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, openPage } = require('./browser');

const [tool, writePairs, examples, docs] = process.argv.slice(2).map((p) => path.resolve(p));

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'view-shots-'));
  const browser = await launch('chromium');
  try {
    execFileSync(writePairs, [dir]);
    // Run from the pairs' folder, so the records name their files as an author would.
    const view = (pair, name, train, out) => spawnSync(tool, ['view', pair, name, train, '--out', out], { cwd: dir });
    spawnSync(tool, ['draw', 'installer', 'LORVENA PF', '4316', '--out', 'installer.svg'], { cwd: dir });
    const svg = path.join(dir, 'installer.svg');
    const [width, height] = /viewBox="0 0 ([\d.]+) ([\d.]+)"/.exec(fs.readFileSync(svg, 'utf8')).slice(1).map((v) => Math.ceil(Number(v)));
    let { page } = await openPage(browser, 'file://' + svg, width, height);
    await page.screenshot({ path: path.join(docs, 'lorvena_pf_line.png') });
    await page.close();

    view('installer', 'LORVENA PF', '4316', 'installer.html');
    ({ page } = await openPage(browser, 'file://' + path.join(dir, 'installer.html'), 1400, 1300));
    await page.screenshot({ path: path.join(docs, 'view_lorvena_pf_whole.png'), fullPage: true });
    await page.$eval('#from-km', (e) => { e.value = '40'; });
    await page.$eval('#to-km', (e) => { e.value = '56'; });
    await page.click('#range button[type=submit]');
    // The pointer on the second station's label: its record shows beside.
    const label = await page.$$eval('#view g.lane text', (texts) => {
      const r = texts.filter((t) => t.getAttribute('fill') === '#1f4e9c').map((t) => t.getBoundingClientRect()).sort((a, b) => a.left - b.left)[1];
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
    });
    await page.mouse.move(label.x, label.y);
    await page.screenshot({ path: path.join(docs, 'view_lorvena_pf_zoomed.png'), fullPage: true });
    await page.close();

    // The example pair: the fastest run over the speed limits, the earliest
    // arrivals beside the stations' times.
    fs.mkdirSync(path.join(dir, 'example'));
    for (const file of ['VALDORNO_linea.txt', 'VALDORNO_2417-.txt']) fs.copyFileSync(path.join(examples, file), path.join(dir, 'example', file));
    view('example', 'VALDORNO', '2417', 'example.html');
    ({ page } = await openPage(browser, 'file://' + path.join(dir, 'example.html'), 1400, 1300));
    await page.screenshot({ path: path.join(docs, 'view_fastest_run.png'), fullPage: true });
    await page.close();

    fs.mkdirSync(path.join(dir, 'problem'));
    fs.copyFileSync(path.join(examples, 'VALDORNO_linea.txt'), path.join(dir, 'problem', 'VALDORNO_linea.txt'));
    const train = fs.readFileSync(path.join(examples, 'VALDORNO_2417-.txt'), 'latin1').replace('segnale,    8400,   2, 3,', 'segnale,    8400,   2, x,');
    fs.writeFileSync(path.join(dir, 'problem', 'VALDORNO_2417-.txt'), train, 'latin1');
    view('problem', 'VALDORNO', '2417', 'problem.html');
    ({ page } = await openPage(browser, 'file://' + path.join(dir, 'problem.html'), 1400, 1300));
    await page.click('#diagnostics li.error');
    await page.click('#whole-line');
    await page.screenshot({ path: path.join(docs, 'view_problem.png'), fullPage: true });
    await page.close();
  } finally {
    await browser.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().catch((e) => { console.error(e.stack); process.exit(1); });
