// The plan of the line as the view draws it: its points [chainage, x, y]
// turned once so that the line runs from left to right (u along the chord
// from the first point to the last, v across it), with what lets a redraw
// touch only the points it needs: the bounds of any stretch, and each
// point's weight in the line's shape, so that a stretch can be drawn
// through the few points that matter at the scale shown.
'use strict';
const PlanShape = (() => {
  const kBlock = 64;

  // The distance from (px, py) to the segment from (ax, ay) to (bx, by).
  function toSegment(px, py, ax, ay, bx, by) {
    const dx = bx - ax, dy = by - ay, squared = dx * dx + dy * dy;
    const t = squared > 0 ? Math.min(1, Math.max(0, ((px - ax) * dx + (py - ay) * dy) / squared)) : 0;
    return Math.hypot(px - ax - t * dx, py - ay - t * dy);
  }

  class Shape {
    constructor(points) {
      const n = points.length;
      this.length = n;
      this.chainage = Float64Array.from(points, (p) => p[0]);
      this.u = new Float64Array(n);
      this.v = new Float64Array(n);
      if (n >= 2) {
        const [, x0, y0] = points[0], [, x1, y1] = points[n - 1];
        let cx = x1 - x0, cy = y1 - y0, chord = Math.hypot(cx, cy);
        if (chord < 1) { cx = 0; cy = 1; chord = 1; }
        const ux = cx / chord, uy = cy / chord;
        points.forEach(([, px, py], i) => { this.u[i] = (px - x0) * ux + (py - y0) * uy; this.v[i] = -(px - x0) * uy + (py - y0) * ux; });
      }
      this.weigh();
      this.blocks = [];
      for (let a = 0; a < n; a += kBlock) this.blocks.push(this.scan(a, Math.min(n - 1, a + kBlock - 1)));
    }

    // Each point's weight: the largest distance from the line at which the
    // point is still needed to draw it (the line thinned to a distance d
    // keeps the points weighing d or more, and strays from the whole line
    // by less than d). The ends weigh Infinity.
    weigh() {
      const n = this.length, u = this.u, v = this.v;
      this.weight = new Float64Array(n);
      if (n === 0) return;
      this.weight[0] = this.weight[n - 1] = Infinity;
      const stack = [[0, n - 1, Infinity]];
      while (stack.length) {
        const [a, b, cap] = stack.pop();
        if (b - a < 2) continue;
        let far = a + 1, distance = -1;
        for (let i = a + 1; i < b; ++i) {
          const d = toSegment(u[i], v[i], u[a], v[a], u[b], v[b]);
          if (d > distance) { distance = d; far = i; }
        }
        const weight = Math.min(distance, cap);
        this.weight[far] = weight;
        stack.push([a, far, weight], [far, b, weight]);
      }
    }

    // The index of the first point at or past chainage `m` (the last point if none).
    index(m) {
      let lo = 0, hi = this.length - 1;
      while (lo < hi) { const mid = (lo + hi) >> 1; if (this.chainage[mid] < m) lo = mid + 1; else hi = mid; }
      return lo;
    }

    scan(a, b, into = { minU: Infinity, maxU: -Infinity, minV: Infinity, maxV: -Infinity }) {
      for (let i = a; i <= b; ++i) {
        into.minU = Math.min(into.minU, this.u[i]); into.maxU = Math.max(into.maxU, this.u[i]);
        into.minV = Math.min(into.minV, this.v[i]); into.maxV = Math.max(into.maxV, this.v[i]);
      }
      return into;
    }

    // The bounds of the points first..last in u and v.
    bounds(first, last) {
      const into = { minU: Infinity, maxU: -Infinity, minV: Infinity, maxV: -Infinity };
      const fa = Math.ceil(first / kBlock), lb = Math.floor((last + 1) / kBlock);
      if (fa >= lb) return this.scan(first, last, into);
      this.scan(first, fa * kBlock - 1, into);
      for (let k = fa; k < lb; ++k) {
        const b = this.blocks[k];
        into.minU = Math.min(into.minU, b.minU); into.maxU = Math.max(into.maxU, b.maxU);
        into.minV = Math.min(into.minV, b.minV); into.maxV = Math.max(into.maxV, b.maxV);
      }
      return this.scan(lb * kBlock, last, into);
    }

    // The indices of the points that draw first..last within `distance`:
    // the two ends and every point between that weighs at least that.
    needed(first, last, distance) {
      const out = [first];
      for (let i = first + 1; i < last; ++i) if (this.weight[i] >= distance) out.push(i);
      if (last > first) out.push(last);
      return out;
    }
  }

  return { Shape, toSegment };
})();
