// The line view's speed on a generated 1000 km line in Debian's headless
// Chromium, printed, never asserted (a benchmark, not a test):
// node view_benchmark.js SCENARIO_TOOL WRITE_TEST_PAIRS [ROUNDS]
// First render: from the start of navigation to the end of the load event
// (the page parsed, its data read, the whole line drawn). A wheel step: one
// wheel event's handler with the layout it causes, twenty steps in and
// twenty out over the objects panel, at 1600x900.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, openPage } = require('./browser');

const [tool, writePairs, roundsArg] = process.argv.slice(2);
const rounds = Number(roundsArg || 5);

const median = (v) => { const s = v.slice().sort((a, b) => a - b); return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2; };

// Runs in the page: the time of each wheel step, handler and layout.
function wheelSteps(steps) {
  const svg = document.getElementById('view');
  const r = svg.getBoundingClientRect();
  const times = [];
  for (const deltaY of steps) {
    const t0 = performance.now();
    svg.dispatchEvent(new WheelEvent('wheel', { deltaY, clientX: r.left + r.width / 2, clientY: r.top + 800, bubbles: true, cancelable: true }));
    void document.body.offsetHeight;  // the layout the redraw causes
    svg.getBBox();
    times.push(performance.now() - t0);
  }
  return times;
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'view-bench-'));
  const browser = await launch('chromium');
  try {
    execFileSync(writePairs, [dir, '1000']);
    const html = path.join(dir, 'line.html');
    execFileSync(tool, ['view', path.join(dir, 'generated'), 'LINEA LUNGA', '300', '--out', html]);
    const firsts = [], steps = [];
    for (let k = 0; k < rounds; ++k) {
      const { page, errors } = await openPage(browser, 'file://' + html, 1600, 900);
      if (errors.length) throw new Error(errors.join('; '));
      firsts.push(await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventEnd));
      const deltas = Array(20).fill(-100).concat(Array(20).fill(100));
      steps.push(...await page.evaluate(wheelSteps, deltas));
      await page.close();
    }
    const f = (v) => v.toFixed(1);
    console.log(`page: ${(fs.statSync(html).size / 1e6).toFixed(1)} MB, ${rounds} loads, ${steps.length} wheel steps (Chromium ${await browser.version()})`);
    console.log(`first render: median ${f(median(firsts))} ms, max ${f(Math.max(...firsts))} ms`);
    console.log(`wheel step:   median ${f(median(steps))} ms, max ${f(Math.max(...steps))} ms`);
  } finally {
    await browser.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().catch((e) => { console.error(e.stack); process.exit(1); });
