// What an author hunting a problem does in the line view, checked in the
// browser: diagnostics in order of severity, each with a mark, picked by a
// click or a key; the record box in view with its fields named; the range
// box after a wheel zoom; labels in chainage order and off the plan's line
// and marks; keys, the legend, a tooltip on every kind of mark, the tunnel
// in the plan and the unread part of the line. Each check reports through
// `check(ok, what)`.
'use strict';

// The centre of the first shape of a mark path, in page pixels: the path's
// own commands followed (M L H V absolute, l h v a relative, z) and carried
// through its transform.
async function markCentre(page, selector, index = 0) {
  return page.$eval(selector, (path, index) => {
    const parts = path.getAttribute('d').split('M').filter((p) => p.trim());
    const part = 'M' + parts[Math.min(index, parts.length - 1)];
    let cx = 0, cy = 0, xs = [], ys = [];
    for (const [, cmd, args] of part.matchAll(/([MLHVlhvaz])([^MLHVlhvaz]*)/g)) {
      const n = args.trim().split(/[\s,]+/).filter(Boolean).map(Number);
      if (cmd === 'M' || cmd === 'L') [cx, cy] = n;
      else if (cmd === 'H') cx = n[0];
      else if (cmd === 'V') cy = n[0];
      else if (cmd === 'h') cx += n[0];
      else if (cmd === 'v') cy += n[0];
      else if (cmd === 'l') { cx += n[0]; cy += n[1]; }
      else if (cmd === 'a') { cx += n[5]; cy += n[6]; }
      xs.push(cx); ys.push(cy);
    }
    const m = path.getScreenCTM();  // the path's own transform too: some marks are drawn in metres
    const x = (Math.min(...xs) + Math.max(...xs)) / 2, y = (Math.min(...ys) + Math.max(...ys)) / 2;
    return { x: m.a * x + m.c * y + m.e, y: m.b * x + m.d * y + m.f };
  }, index);
}

const shownRange = (page) => page.$eval('#view', (svg) => [Number(svg.dataset.from), Number(svg.dataset.to)]);
const inViewport = (page, selector) => page.$eval(selector, (e) => {
  const r = e.getBoundingClientRect();
  return r.top >= 0 && r.left >= 0 && r.bottom <= window.innerHeight && r.right <= window.innerWidth && r.height > 0;
});

// The pair with problems: an error that stops the reading (at a signal's
// chainage), a warning and a skipped keyword (no chainage).
async function checkFinding(page, name, check) {
  const diagnostics = await page.$$eval('#diagnostics li', (li) => li.map((e) => e.className.split(' ')[0]));
  const rank = { error: 0, warning: 1, note: 2 };
  check(diagnostics.length === 3 && diagnostics.every((s, i) => i === 0 || rank[diagnostics[i - 1]] <= rank[s]), `${name}: the diagnostics list reads ${diagnostics}`);
  const marks = await page.$$eval('#view .mark.diagnostic', (m) => m.map((e) => e.classList[2] + (e.classList.contains('file-level') ? '/file' : '')));
  check(marks.length === 3 && marks.includes('warning/file'), `${name}: the diagnostics' marks are ${marks}`);
  check(marks[marks.length - 1] === 'error', `${name}: the error is not drawn over the others (${marks})`);

  // A click on the error shows its place, picks its mark and scrolls to it.
  await page.$eval('#from-km', (e) => { e.value = '0'; });
  await page.$eval('#to-km', (e) => { e.value = '1'; });
  await page.click('#range button[type=submit]');
  await page.click('#diagnostics li.error');
  const [a, b] = await shownRange(page);
  check(a < 8400 && b > 8400, `${name}: clicking the error shows ${a}-${b}, not 8400 m`);
  const picked = await page.$$eval('#view .mark.picked', (m) => m.map((e) => e.classList[2]));
  check(picked.length === 1 && picked[0] === 'error', `${name}: picked marks after the click: ${picked}`);
  check(await inViewport(page, '#view .mark.picked'), `${name}: the picked error's mark is out of view`);
  check(await page.$eval('#diagnostics li.error', (e) => e.classList.contains('picked')), `${name}: the error's line is not picked`);

  // The keyboard picks the warning at 5800 m, from the whole line: its stretch is shown.
  await page.click('#whole-line');
  await page.focus('#diagnostics li.warning');
  await page.keyboard.press('Enter');
  const [c, d] = await shownRange(page);
  check(c < 5800 && d > 5800 && d - c <= 2000, `${name}: Enter on the warning shows ${c}-${d}`);

  // The part not read: shaded, said, with its tooltip.
  await page.click('#whole-line');
  const unread = await page.$$eval('#view text', (t) => t.map((e) => e.textContent).filter((s) => /^(forse )?non lett/.test(s)));
  check(unread.length === 3, `${name}: the unread parts (speed, adhesion, objects) are labelled ${JSON.stringify(unread)}`);
  const p = await markCentre(page, '#view .mark.unread');
  await page.mouse.move(p.x, p.y);
  const tip = await page.$eval('#tip', (e) => (e.hidden ? '' : e.textContent));
  check(/^velocita non letta da km 11\.00/.test(tip), `${name}: the unread speed's tooltip reads '${tip}'`);
  const adhesion = await markCentre(page, '#view .mark.unread', 1);
  await page.mouse.move(adhesion.x, adhesion.y);
  const tip2 = await page.$eval('#tip', (e) => (e.hidden ? '' : e.textContent));
  check(/^aderenza non letta da km 4\.20/.test(tip2), `${name}: the unread adhesion's tooltip reads '${tip2}'`);
  const objects = await markCentre(page, '#view .mark.unread', 2);
  await page.mouse.move(objects.x, objects.y);
  const tip3 = await page.$eval('#tip', (e) => (e.hidden ? '' : e.textContent));
  check(/^oggetti forse non letti da km 4\.20/.test(tip3), `${name}: the unread objects' tooltip reads '${tip3}'`);
}

// Every kind of mark drawn shows a tooltip when the pointer is on it; the
// record box beside it stays in view and names each value.
async function checkMarks(page, name, check) {
  await page.click('#whole-line');
  const kinds = await page.$$eval('#view path.mark', (m) => m.map((e) => e.classList[1]));
  for (const kind of kinds) {
    const p = await markCentre(page, `#view path.mark.${kind}`);
    await page.evaluate((y) => window.scrollTo(0, Math.max(0, window.scrollY + y - window.innerHeight / 2)), p.y);
    const q = await markCentre(page, `#view path.mark.${kind}`);
    await page.mouse.move(q.x, q.y);
    const tip = await page.$eval('#tip', (e) => (e.hidden ? '' : e.textContent));
    check(tip.length > 0, `${name}: no tooltip on a mark of kind ${kind}`);
    if (kind !== 'station') continue;
    const record = await page.$eval('#record', (e) => e.textContent);
    check(/^stazioneposizione\d+ mtipo\d+length\d+ m/.test(record), `${name}: the station's record reads '${record.slice(0, 80)}'`);
    check(await inViewport(page, '#record'), `${name}: the record box is out of view while hovering the objects panel`);
  }
  return kinds;
}

// Labels of each lane stand in the order of their marks; the plan's labels
// cross neither its line nor its marks; a cut label keeps its time.
async function checkLabels(page, name, check) {
  const disorder = await page.$$eval('#view g.lane', (lanes) => lanes.map((g) => {
    const xs = [...g.querySelectorAll('text')].map((t) => t.getBoundingClientRect().left);
    return xs.filter((v, i) => i > 0 && v <= xs[i - 1]).length;
  }));
  check(disorder.every((n) => n === 0), `${name}: labels out of chainage order in the lanes: ${disorder}`);
  const crossing = await page.evaluate(() => {
    const svg = document.getElementById('view');
    const line = svg.querySelector('.plan-line');
    if (!line) return [];
    const points = line.getAttribute('d').slice(1).split(' L').map((p) => p.split(' ').map(Number));
    const boxes = [...svg.querySelectorAll('.plan-label')].map((t) => t.getBBox());
    const inside = (b, [px, py]) => px >= b.x && px <= b.x + b.width && py >= b.y && py <= b.y + b.height;
    // A segment crosses a box when a point along it, a pixel apart, is inside.
    const crosses = (b, p, q) => {
      const n = Math.ceil(Math.hypot(q[0] - p[0], q[1] - p[1]));
      for (let k = 0; k <= n; ++k) if (inside(b, [p[0] + (q[0] - p[0]) * k / Math.max(n, 1), p[1] + (q[1] - p[1]) * k / Math.max(n, 1)])) return true;
      return false;
    };
    const marks = [...svg.querySelectorAll('.plan-station, .plan-signal')];
    const out = [];
    boxes.forEach((b, i) => {
      for (let k = 1; k < points.length; ++k) if (crosses(b, points[k - 1], points[k])) { out.push(`label ${i} over the line`); break; }
      for (const m of marks) for (const part of m.getAttribute('d').split('M').filter(Boolean)) {
        const [px, py] = part.split(/[a-zA-Z ]/).map(Number);
        if (inside(b, [px, py])) out.push(`label ${i} over a mark at ${px},${py}`);
      }
    });
    return out;
  });
  check(crossing.length === 0, `${name}: plan labels ${crossing.slice(0, 3)}`);
  const labels = await page.$$eval('#view g.lane text', (t) => t.map((e) => e.textContent));
  const timeCut = labels.filter((s) => /\d\d:\d*…/.test(s));
  check(timeCut.length === 0, `${name}: labels cut in their time: ${timeCut}`);
  return labels.filter((s) => /…  \d\d:\d\d:\d\d/.test(s));  // names cut, times kept
}

// The keys, the legend, the range box after a wheel zoom, an empty box.
async function checkControls(page, name, check, length) {
  await page.click('#whole-line');
  await page.$eval('#view', (e) => e.focus());
  await page.keyboard.press('+');
  const [a, b] = await shownRange(page);
  check(b - a < length * 0.9, `${name}: + shows ${a}-${b}`);
  await page.keyboard.press('ArrowRight');
  const [c, d] = await shownRange(page);
  check(c > a && Math.abs((d - c) - (b - a)) < 1, `${name}: the right arrow shows ${c}-${d} after ${a}-${b}`);
  await page.keyboard.press('-');
  await page.keyboard.press('Home');
  const [e, f] = await shownRange(page);
  check(e === 0 && f === length, `${name}: Home shows ${e}-${f}`);
  await page.keyboard.press('PageUp');
  const [e2, f2] = await shownRange(page);
  check(Math.abs((f2 - e2) - length / 4) < 1, `${name}: PageUp shows ${e2}-${f2}`);
  // n and p step through every object, each shown with its record.
  await page.keyboard.press('Home');
  const seen = new Set();
  let outside = 0;
  for (let k = 0; k < 12; ++k) {
    await page.keyboard.press('n');
    const said = await page.$eval('#record .keyword', (e) => e.textContent);
    const [m0, m1] = await shownRange(page);
    const at = Number((/ a (\d+) m/.exec(said) || /(\d+)–/.exec(said) || [])[1]);
    if (!(at >= m0 && at <= m1)) ++outside;
    if (seen.has(said)) break;
    seen.add(said);
  }
  check(seen.size >= 5 && outside === 0, `${name}: n stepped through ${seen.size} objects, ${outside} of them out of the range shown`);
  await page.keyboard.press('p');
  check((await page.$eval('#record .keyword', (e) => e.textContent)) !== '', `${name}: p shows no object`);
  await page.keyboard.press('g');
  check(await page.evaluate(() => document.activeElement?.id === 'from-km'), `${name}: g does not go to the range box`);
  await page.$eval('#view', (e) => e.focus());
  const focusable = await page.evaluate(() => [...document.querySelectorAll('#diagnostics li, #stations tbody tr, #view')].every((e) => e.tabIndex === 0));
  check(focusable, `${name}: a diagnostic, a station or the picture cannot be reached by the keyboard`);
  await page.focus('#stations tbody tr');
  await page.keyboard.press('Enter');
  const [g, h] = await shownRange(page);
  const first = await page.$eval('#stations tbody tr td:nth-child(2)', (td) => Number(td.textContent) * 1000);
  check(g <= first && h >= first && h - g <= 4000, `${name}: Enter on the first station shows ${g}-${h}`);

  const legend = await page.$$eval('#legend li', (li) => li.map((e) => e.textContent));
  check(['stazione', 'segnale', 'galleria', 'errore', 'non letto'].every((w) => legend.includes(w)), `${name}: the legend reads ${legend}`);

  // Wheel below 5 km: the boxes still submit, with any decimals.
  const svg = await (await page.$('#view')).boundingBox();
  await page.click('#whole-line');
  await page.evaluate((y) => window.scrollTo(0, y), svg.y);
  const box = await (await page.$('#view')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + 300);
  for (let i = 0; i < 40; ++i) {
    await page.mouse.wheel({ deltaY: -100 });
    const [p, q] = await shownRange(page);
    if (q - p < 4000) break;
  }
  const [p, q] = await shownRange(page);
  const valid = await page.$eval('#range', (form) => form.checkValidity());
  check(q - p < 5000 && valid, `${name}: after the wheel (${p}-${q}) the range box is ${valid ? '' : 'not '}valid`);
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.$eval('#from-km', (e) => { e.value = '1.234'; });
  await page.$eval('#to-km', (e) => { e.value = '3.456'; });
  await page.click('#range button[type=submit]');
  const [r, s] = await shownRange(page);
  check(Math.abs(r - 1234) < 0.5 && Math.abs(s - 3456) < 0.5, `${name}: the boxes 1.234-3.456 show ${r}-${s}`);
  await page.$eval('#from-km', (e) => { e.value = ''; });
  await page.click('#range button[type=submit]');
  const [t, u] = await shownRange(page);
  const missing = await page.$eval('#from-km', (e) => e.validity.valueMissing);
  check(t === r && u === s && missing, `${name}: an empty box shows ${t}-${u}, reported: ${missing}`);
}

module.exports = { checkFinding, checkMarks, checkLabels, checkControls, markCentre };
