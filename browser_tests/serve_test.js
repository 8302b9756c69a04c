// `scenario_tool serve` in Debian's headless Chromium: the page shows the
// pair's diagnostics; an edit of the line description makes the open page
// draw the new compile in place, without loading again, showing the new
// diagnostic at the km range, pick and scroll it had, twice over; an edit
// made before the page asked for its events is told too; nothing but
// the view and its events is served; a non-loopback address is
// refused; the server stops by itself (--stop-after).
// Usage: node serve_test.js SCENARIO_TOOL EXAMPLES_DIR
'use strict';
const assert = require('node:assert/strict');
const { spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { launch, openPage } = require('./browser');
const { started } = require('./serve_address');

const [tool, examples] = process.argv.slice(2);
const dir = fs.mkdtempSync(path.join(process.env.TMPDIR || os.tmpdir(), 'serve-'));
const line = path.join(dir, 'VALDORNO_linea.txt');
for (const f of ['VALDORNO_linea.txt', 'VALDORNO_2417-.txt']) fs.copyFileSync(path.join(examples, f), path.join(dir, f));
const kStopAfter = 20;

// What an event stream sends within `ms` milliseconds, up to its first event.
async function eventWithin(address, ms) {
  const stop = new AbortController();
  const timer = setTimeout(() => stop.abort(), ms);
  let text = '';
  try {
    const response = await fetch(address, { signal: stop.signal });
    for await (const chunk of response.body) {
      text += Buffer.from(chunk).toString();
      if (text.includes('\n\n') && /^event:/m.test(text)) break;
    }
  } catch (e) {
    if (e.name !== 'AbortError') throw e;
  } finally {
    clearTimeout(timer);
  }
  return text;
}

async function main() {
  const refused = spawnSync(tool, ['serve', dir, 'VALDORNO', '2417', '--host', '0.0.0.0', '--port', '0'], { encoding: 'utf8', timeout: 10000 });
  assert.equal(refused.status, 2, 'a non-loopback address is refused');
  assert.match(refused.stderr, /--any-host/);

  const server = spawn(tool, ['serve', dir, 'VALDORNO', '2417', '--port', '0', '--stop-after', String(kStopAfter)],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  const exited = new Promise((resolve) => server.on('exit', (code) => resolve(code)));
  const url = await started(server);

  for (const p of ['VALDORNO_linea.txt', '../VALDORNO_linea.txt', 'view.js', '%2e%2e/etc/passwd'])
    assert.equal((await fetch(url + p)).status, 404, `${p} is not served`);

  // The page carries the state it was made from; an edit made before it asks
  // for its events is told to it all the same (here only the file's time).
  const state = /<script data-state="([^"]+)">/.exec(await (await fetch(url)).text())?.[1];
  assert.ok(state, 'the page carries the state of the descriptions it was made from');
  const later = new Date(Date.now() + 10000);
  fs.utimesSync(line, later, later);
  const told = await eventWithin(url + 'events?state=' + encodeURIComponent(state), 5000);
  assert.match(told, /event: change/, 'an edit before the events were asked for is told');

  const browser = await launch('chromium');
  try {
    const { page, errors } = await openPage(browser, url, 1400, 1100);
    page.on('response', (r) => { if (r.status() >= 400) errors.push(`${r.status()} for ${r.url()}`); });
    const diagnostics = () => page.$eval('#diagnostics', (e) => e.textContent);
    assert.doesNotMatch(await diagnostics(), /sfondo unno/);
    // Zoomed to km 2 to 4 and scrolled, which an update must keep; after the
    // first, the new diagnostic is picked, which the second must keep.
    await page.$eval('#from-km', (e) => { e.value = '2'; });
    await page.$eval('#to-km', (e) => { e.value = '4'; });
    await page.click('#range button[type=submit]');
    await page.evaluate(() => { window.scrollTo(0, 120); window.notLoadedAgain = true; });

    const bytes = fs.readFileSync(line, 'latin1');
    for (const [from, to] of [['sfondo uno', 'sfondo unno'], ['sfondo tre', 'sfondo trre']]) {
      const edited = Date.now();
      fs.writeFileSync(line, fs.readFileSync(line, 'latin1').replace(from, to), 'latin1');
      // Bounded so that a page that never updates fails, not hangs.
      await page.waitForFunction((t) => document.getElementById('diagnostics')?.textContent.includes(t), { timeout: 10000, polling: 50 }, to);
      console.log(`the page showed the new diagnostic ${Date.now() - edited} ms after the edit`);
      const range = await page.$eval('#view', (svg) => [Number(svg.dataset.from), Number(svg.dataset.to)]);
      assert.deepEqual(range, [2000, 4000], 'the page keeps its km range');
      assert.equal(await page.evaluate(() => window.notLoadedAgain), true, 'the page is drawn in place, not loaded again');
      assert.equal(await page.evaluate(() => window.scrollY), 120, 'the page keeps its scroll');
      if (to === 'sfondo unno') {
        await page.$$eval('#diagnostics li', (li) => li.find((e) => e.textContent.includes('sfondo unno')).click());
        await page.evaluate(() => window.scrollTo(0, 120));
      } else {
        assert.match(await page.$eval('#diagnostics li.picked', (li) => li.textContent), /sfondo unno/, 'the pick is kept');
      }
    }
    fs.writeFileSync(line, bytes, 'latin1');
    // The reload itself cancels the open event stream: that is no error.
    assert.deepEqual(errors.filter((e) => !/^request failed: .*\/events(\?state=[^/]*)?$/.test(e)), []);
  } finally {
    await browser.close();
  }
  assert.equal(await exited, 0, 'the server stops by itself');
}

main().then(() => {
  fs.rmSync(dir, { recursive: true, force: true });
  console.log('PASS: serve');
}, (e) => {
  console.error('FAIL:', e);
  fs.rmSync(dir, { recursive: true, force: true });
  process.exit(1);
});
