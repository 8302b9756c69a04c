// Where the view's labels go so that no two overlap, by the rule the tool's
// pictures follow: each label brings the boxes it may take, its mark's own
// place first; one that finds none free is left out and counted at the
// nearest placed label. Boxes are {x, y, w, h} in the page's SVG units.
'use strict';
const Labels = (() => {
  const kGap = 1.5;
  const kCell = 32;

  function overlap(a, b) {
    return a.x < b.x + b.w + kGap && b.x < a.x + a.w + kGap && a.y < b.y + b.h + kGap && b.y < a.y + a.h + kGap;
  }

  // Boxes taken so far, found by the grid cells they cover.
  class Taken {
    constructor(boxes = []) { this.cells = new Map(); boxes.forEach((b) => this.add(b)); }
    // Calls `visit(key)` for each cell `b` covers with its gap, until one returns true.
    static cover(b, visit) {
      const x0 = Math.floor((b.x - kGap) / kCell), x1 = Math.floor((b.x + b.w + kGap) / kCell);
      const y0 = Math.floor((b.y - kGap) / kCell), y1 = Math.floor((b.y + b.h + kGap) / kCell);
      for (let i = x0; i <= x1; ++i) for (let j = y0; j <= y1; ++j) if (visit((i + 4096) * 8192 + (j + 4096))) return true;
      return false;
    }
    add(b) {
      Taken.cover(b, (k) => {
        const list = this.cells.get(k);
        if (list) list.push(b); else this.cells.set(k, [b]);
        return false;
      });
    }
    hits(b) {
      return Taken.cover(b, (k) => {
        const list = this.cells.get(k);
        return list !== undefined && list.some((t) => overlap(b, t));
      });
    }
  }

  // For each label in turn, the index of its first candidate box that meets
  // no box taken before, or -1.
  function place(candidates, taken = []) {
    const boxes = taken instanceof Taken ? taken : new Taken(taken);
    return candidates.map((list) => {
      const k = list.findIndex((box) => !boxes.hits(box));
      if (k >= 0) boxes.add(list[k]);
      return k;
    });
  }

  // For each placed label, how many left-out labels lie nearest to it (the
  // earlier of two as near).
  function leftOutCounts(anchors, chosen) {
    const counts = anchors.map(() => 0);
    const placed = anchors.map((a, k) => k).filter((k) => chosen[k] >= 0).sort((p, q) => anchors[p] - anchors[q] || p - q);
    if (placed.length === 0) return counts;
    anchors.forEach((a, k) => {
      if (chosen[k] >= 0) return;
      let lo = 0, hi = placed.length;
      while (lo < hi) { const mid = (lo + hi) >> 1; if (anchors[placed[mid]] < a) lo = mid + 1; else hi = mid; }
      let best = -1;
      for (const i of [lo - 1, lo, lo + 1]) {
        if (i < 0 || i >= placed.length) continue;
        const p = placed[i], d = Math.abs(anchors[p] - a);
        if (best < 0 || d < Math.abs(anchors[best] - a) || (d === Math.abs(anchors[best] - a) && p < best)) best = p;
      }
      ++counts[best];
    });
    return counts;
  }

  // Vertical labels in a lane, kept in the order of their marks: each at its
  // mark (the box's right edge at `anchor`) or shifted right by `step` as far
  // as `reach`, never left of the label placed before it, inside
  // [left, right]. Returns each label's box or null.
  function laneBoxes(anchors, thickness, top, height, step, reach, left, right) {
    let lastRight = -Infinity;
    return anchors.map((anchor) => {
      for (let d = 0; d <= reach; d += step) {
        const x = anchor + d - thickness;
        if (x + thickness > right) break;
        if (x < left || x < lastRight + kGap) continue;
        lastRight = x + thickness;
        return { x, y: top, w: thickness, h: height };
      }
      const x = right - thickness;  // a mark near the right edge: its label just inside
      if (anchor > right - reach && anchor <= right + reach && x >= left && x >= lastRight + kGap) {
        lastRight = right;
        return { x, y: top, w: thickness, h: height };
      }
      return null;
    });
  }

  return { overlap, place, leftOutCounts, laneBoxes, Taken };
})();
