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

  // Many small boxes (the points along a drawn line) as a bitmap of cells
  // over the area (x, y, w, h): a cell is set when a box with its gap
  // touches it. A box hits the bitmap when it covers a set cell, so a box
  // that hits no box of its own never hits here either; setting thousands
  // of cells costs less than keeping thousands of boxes.
  const kCellSide = 2;
  class Raster {
    constructor(x, y, w, h) {
      Object.assign(this, { x, y, columns: Math.ceil(w / kCellSide) + 1, rows: Math.ceil(h / kCellSide) + 1 });
      this.cells = new Uint8Array(this.columns * this.rows);
    }
    // Whether [x0, x1] x [y0, y1] meets the area.
    meets(x0, x1, y0, y1) {
      return x1 >= this.x && y1 >= this.y && x0 < this.x + this.columns * kCellSide && y0 < this.y + this.rows * kCellSide;
    }
    column(x) { return Math.min(this.columns - 1, Math.max(0, Math.floor((x - this.x) / kCellSide))); }
    row(y) { return Math.min(this.rows - 1, Math.max(0, Math.floor((y - this.y) / kCellSide))); }
    add(b) {
      if (!this.meets(b.x - kGap, b.x + b.w + kGap, b.y - kGap, b.y + b.h + kGap)) return;
      const c0 = this.column(b.x - kGap), c1 = this.column(b.x + b.w + kGap);
      for (let r = this.row(b.y - kGap), r1 = this.row(b.y + b.h + kGap); r <= r1; ++r) this.cells.fill(1, r * this.columns + c0, r * this.columns + c1 + 1);
    }
    hits(b) {
      if (!this.meets(b.x, b.x + b.w, b.y, b.y + b.h)) return false;
      const c0 = this.column(b.x), c1 = this.column(b.x + b.w);
      for (let r = this.row(b.y), r1 = this.row(b.y + b.h); r <= r1; ++r)
        for (let c = r * this.columns + c0, end = r * this.columns + c1; c <= end; ++c) if (this.cells[c]) return true;
      return false;
    }
  }

  // For each label in turn, the index of its first candidate box that meets
  // no box taken before (a list of boxes, or a Taken to which the placed
  // labels are added), or -1.
  function place(candidates, taken = []) {
    const boxes = Array.isArray(taken) ? new Taken(taken) : taken;
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
      // The least shift, a multiple of `step`, that clears the left edge and the label before.
      const least = Math.max(left, lastRight + kGap);
      let d = Math.max(0, Math.ceil((least - (anchor - thickness)) / step) * step);
      if (anchor + d - thickness < least) d += step;
      const shifted = anchor + d - thickness;
      if (d <= reach && shifted + thickness <= right) {
        lastRight = shifted + thickness;
        return { x: shifted, y: top, w: thickness, h: height };
      }
      const x = right - thickness;  // a mark near the right edge: its label just inside
      if (anchor > right - reach && anchor <= right + reach && x >= left && x >= lastRight + kGap) {
        lastRight = right;
        return { x, y: top, w: thickness, h: height };
      }
      return null;
    });
  }

  return { overlap, place, leftOutCounts, laneBoxes, Taken, Raster };
})();
