// Where the view's labels go so that no two overlap, by the rule the tool's
// pictures follow: each label brings the boxes it may take, its mark's own
// place first; one that finds none free is left out and counted at the
// nearest placed label. Boxes are {x, y, w, h} in the page's SVG units.
'use strict';
const Labels = (() => {
  const kGap = 1.5;

  function overlap(a, b) {
    return a.x < b.x + b.w + kGap && b.x < a.x + a.w + kGap && a.y < b.y + b.h + kGap && b.y < a.y + a.h + kGap;
  }

  // For each label in turn, the index of its first candidate box that meets
  // no box taken before, or -1.
  function place(candidates, taken = []) {
    const boxes = taken.slice();
    return candidates.map((list) => {
      const k = list.findIndex((box) => !boxes.some((t) => overlap(box, t)));
      if (k >= 0) boxes.push(list[k]);
      return k;
    });
  }

  // For each placed label, how many left-out labels lie nearest to it.
  function leftOutCounts(anchors, chosen) {
    const counts = anchors.map(() => 0);
    anchors.forEach((a, k) => {
      if (chosen[k] >= 0) return;
      let nearest = -1;
      anchors.forEach((b, p) => {
        if (chosen[p] >= 0 && (nearest < 0 || Math.abs(b - a) < Math.abs(anchors[nearest] - a))) nearest = p;
      });
      if (nearest >= 0) ++counts[nearest];
    });
    return counts;
  }

  // A vertical label's boxes in a lane: at its mark (the box's right edge at
  // `anchor`), then shifted by `step` either way as far as `reach`.
  function laneCandidates(anchor, thickness, top, height, step, reach, left, right) {
    const boxes = [];
    const add = (edge) => { if (edge - thickness >= left && edge <= right) boxes.push({ x: edge - thickness, y: top, w: thickness, h: height }); };
    add(anchor);
    for (let d = step; d <= reach; d += step) { add(anchor + d); add(anchor - d); }
    return boxes;
  }

  return { overlap, place, leftOutCounts, laneCandidates };
})();
