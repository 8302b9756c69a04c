// The line view's placing of labels and its thinning of the plan, checked
// in node on random lanes and lines (seeded, so a failure repeats):
// node page_geometry_test.js
'use strict';
const fs = require('fs');
const path = require('path');

// A page script defines one object; it is read here as the page reads it.
const load = (file, name) => new Function(fs.readFileSync(path.join(__dirname, file), 'utf8') + `\nreturn ${name};`)();
const Labels = load('labels.js', 'Labels');
const PlanShape = load('plan_shape.js', 'PlanShape');

const { check, finish } = require('../../../testing/check_tally');
let seed = 20261211;
const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;

// laneBoxes finds each label's shift at once; the rule it follows is the
// search step by step below: the first shift that clears the left edge and
// the label before, unless the label would pass the right edge.
function laneBoxesByStep(anchors, thickness, top, height, step, reach, left, right) {
  let lastRight = -Infinity;
  return anchors.map((anchor) => {
    for (let d = 0; d <= reach; d += step) {
      const x = anchor + d - thickness;
      if (x + thickness > right) break;
      if (x < left || x < lastRight + 1.5) continue;
      lastRight = x + thickness;
      return { x, y: top, w: thickness, h: height };
    }
    const x = right - thickness;
    if (anchor > right - reach && anchor <= right + reach && x >= left && x >= lastRight + 1.5) {
      lastRight = right;
      return { x, y: top, w: thickness, h: height };
    }
    return null;
  });
}

for (let t = 0; t < 5000; ++t) {
  const n = 1 + Math.floor(random() * 60), width = 300 + random() * 1500, thickness = 1.2 * [9, 10, 11][t % 3];
  const anchors = Array.from({ length: n }, () => random() * width * 1.2 - 50).sort((a, b) => a - b);
  const args = [anchors, thickness, 100, 96, 2, 8 * thickness, 60, width + 15];
  const boxes = Labels.laneBoxes(...args);
  check(JSON.stringify(boxes) === JSON.stringify(laneBoxesByStep(...args)), `lane ${t}: laneBoxes places otherwise than the search step by step`);
  const placed = boxes.filter(Boolean);
  check(placed.every((b, i) => i === 0 || b.x >= placed[i - 1].x + placed[i - 1].w + 1.5), `lane ${t}: two labels overlap or stand out of order`);
}

// Lanes whose labels meet each limit exactly, which random lanes never do:
// the left edge, the gap to the label before, the reach of the shift with the
// right edge, and a mark just past the right edge as far as the reach.
for (const [anchors, xs] of [[[10, 21.5, 87, 92], [0, 11.5, 77, 90]], [[108], [90]]]) {
  const args = [anchors, 10, 0, 20, 2, 8, 0, 100];
  const boxes = Labels.laneBoxes(...args);
  check(JSON.stringify(boxes.map((b) => b && b.x)) === JSON.stringify(xs), `lane ${anchors}: placed at ${JSON.stringify(boxes)}`);
  check(JSON.stringify(boxes) === JSON.stringify(laneBoxesByStep(...args)), `lane ${anchors}: laneBoxes places otherwise than the search step by step`);
}

// The plan's bitmap is never less strict than the boxes it stands for, for
// a label inside its area.
for (let t = 0; t < 500; ++t) {
  const raster = new Labels.Raster(90, 8, 1400, 200), boxes = new Labels.Taken();
  for (let k = 0; k < 60; ++k) {
    const b = { x: 60 + random() * 1450, y: random() * 220, w: 1 + random() * 10, h: 1 + random() * 10 };
    raster.add(b);
    boxes.add(b);
  }
  for (let k = 0; k < 60; ++k) {
    const w = 5 + random() * 100, b = { x: 92 + random() * (1394 - w), y: 10 + random() * 180, w, h: 12 };
    if (boxes.hits(b)) check(raster.hits(b), `area ${t}: a label over a mark is let through by the bitmap: ${JSON.stringify(b)}`);
  }
}

// Each label takes its first free box; one with none free is left out and
// counted at the nearest label placed.
{
  const box = (x) => ({ x, y: 0, w: 10, h: 10 });
  const chosen = Labels.place([[box(0)], [box(5), box(20)], [box(3), box(8)]], [box(40)]);
  check(JSON.stringify(chosen) === '[0,1,-1]', `place: chose ${JSON.stringify(chosen)}`);
  const counts = Labels.leftOutCounts([0, 20, 6, 30, 100], [0, 0, -1, -1, 0]);
  check(JSON.stringify(counts) === '[1,1,0,0,0]', `leftOutCounts: ${JSON.stringify(counts)}`);
}

// A plan drawn through the points it needs strays from the whole line by
// less than the distance asked (a stretch of it, whose ends are kept
// whatever they weigh, by less than twice that); the bounds of any stretch
// are its points'.
const distanceToPath = (shape, indices, i) => {
  let best = Infinity;
  for (let k = 1; k < indices.length; ++k) {
    const [a, b] = [indices[k - 1], indices[k]];
    if (a <= i && i <= b) best = Math.min(best, PlanShape.toSegment(shape.u[i], shape.v[i], shape.u[a], shape.v[a], shape.u[b], shape.v[b]));
  }
  return best;
};
for (let t = 0; t < 40; ++t) {
  let x = 0, y = 0, heading = random() * 6;
  const points = Array.from({ length: 50 + Math.floor(random() * 400) }, (_, k) => {
    heading += (random() - 0.5) * (t % 4 === 0 ? 2 : 0.2);
    x += 250 * Math.cos(heading);
    y += 250 * Math.sin(heading);
    return [k * 250, x, y];
  });
  const shape = new PlanShape.Shape(points);
  for (const distance of [0.5, 20, 400]) {
    const whole = shape.needed(0, points.length - 1, distance);
    let worst = 0;
    for (let i = 0; i < points.length; ++i) worst = Math.max(worst, distanceToPath(shape, whole, i));
    check(worst < distance, `line ${t}: drawn through ${whole.length} points it strays ${worst.toFixed(3)} m, not less than ${distance} m`);
    const first = Math.floor(random() * points.length / 2), last = first + 1 + Math.floor(random() * (points.length - first - 1));
    const needed = shape.needed(first, last, distance);
    worst = 0;
    for (let i = first; i <= last; ++i) worst = Math.max(worst, distanceToPath(shape, needed, i));
    check(worst < 2 * distance, `line ${t}: points ${first}..${last} drawn through ${needed.length} stray ${worst.toFixed(3)} m, not less than ${2 * distance} m`);
    const bounds = shape.bounds(first, last);
    const us = Array.from(shape.u.slice(first, last + 1)), vs = Array.from(shape.v.slice(first, last + 1));
    check(bounds.minU === Math.min(...us) && bounds.maxU === Math.max(...us) && bounds.minV === Math.min(...vs) && bounds.maxV === Math.max(...vs),
          `line ${t}: the bounds of points ${first}..${last} are not their points'`);
  }
  check(shape.index(-1) === 0 && shape.index(points[points.length - 1][0] + 1) === points.length - 1 && shape.index(250 * 3 - 1) === 3,
        `line ${t}: index() finds the wrong point`);
}

finish('page geometry');
