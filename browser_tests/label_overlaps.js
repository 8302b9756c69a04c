// The pairs of visible text labels of a page or picture whose drawn boxes
// overlap. Each label's box is its text's bounding box carried through the
// full transform to the screen, so rotated labels are compared as rotated
// quadrilaterals (separating axis test), not as their enclosing rectangles.
'use strict';

// Runs inside the page: returns [{a, b}] for every overlapping pair.
function overlapsInPage(selector, tolerance) {
  const quads = [];
  for (const el of document.querySelectorAll(selector)) {
    const style = getComputedStyle(el);
    if (style.display === 'none' || style.visibility === 'hidden' || Number(style.opacity) === 0) continue;
    if (el.closest('[display="none"], [visibility="hidden"]')) continue;
    const b = el.getBBox();
    if (b.width === 0 || b.height === 0 || el.textContent.trim() === '') continue;
    const m = el.getScreenCTM();
    const corners = [[b.x, b.y], [b.x + b.width, b.y], [b.x + b.width, b.y + b.height], [b.x, b.y + b.height]];
    quads.push({
      text: el.textContent,
      points: corners.map(([x, y]) => [m.a * x + m.c * y + m.e, m.b * x + m.d * y + m.f]),
    });
  }
  // Separated when, on one edge normal of either quad, their projections
  // are apart (or overlap by no more than the tolerance in pixels).
  const separated = (p, q) => {
    for (const poly of [p, q]) {
      for (let i = 0; i < 4; ++i) {
        const [x1, y1] = poly[i], [x2, y2] = poly[(i + 1) % 4];
        const len = Math.hypot(x2 - x1, y2 - y1);
        if (len === 0) continue;
        const nx = -(y2 - y1) / len, ny = (x2 - x1) / len;
        const proj = (pts) => pts.map(([x, y]) => x * nx + y * ny);
        const a = proj(p), c = proj(q);
        const overlap = Math.min(Math.max(...a), Math.max(...c)) - Math.max(Math.min(...a), Math.min(...c));
        if (overlap <= tolerance) return true;
      }
    }
    return false;
  };
  const pairs = [];
  for (let i = 0; i < quads.length; ++i)
    for (let j = i + 1; j < quads.length; ++j)
      if (!separated(quads[i].points, quads[j].points)) pairs.push({ a: quads[i].text, b: quads[j].text });
  return { labels: quads.length, pairs };
}

async function labelOverlaps(page, selector = 'text', tolerance = 0.5) {
  return page.evaluate(overlapsInPage, selector, tolerance);
}

module.exports = { labelOverlaps };

// node label_overlaps.js FILE.svg|FILE.html [SELECTOR]: prints the labels
// counted and every overlapping pair.
if (require.main === module) {
  (async () => {
    const path = require('path');
    const { launch, openPage } = require('./browser');
    const browser = await launch();
    try {
      const { page } = await openPage(browser, 'file://' + path.resolve(process.argv[2]), 1100, 1400);
      const r = await labelOverlaps(page, process.argv[3] || 'text');
      for (const p of r.pairs) console.log(`overlap: ${JSON.stringify(p.a)} / ${JSON.stringify(p.b)}`);
      console.log(`${r.labels} labels, ${r.pairs.length} overlapping pairs`);
    } finally {
      await browser.close();
    }
  })().catch((e) => { console.error(e.message); process.exit(2); });
}
