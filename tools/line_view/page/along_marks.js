// Marks along the line, drawn once for its whole length with x in metres
// and set in place at each redraw by their group's transform: a zoom or a
// pan moves and stretches them without making them again. Strokes keep
// their width on the screen. Which mark is under the pointer is found from
// the objects themselves, by chainage.
//
// A kind: { kind, list, y(o), h, and either at(o) with a bar's stroke
// width `bar`, or start(o), end(o) with the least width `least` in pixels
// that a short stretch is drawn with; `look`: the path's attributes }.
'use strict';
const AlongMarks = (() => {
  const kSvg = 'http://www.w3.org/2000/svg';
  const kReach = 3;  // how near the pointer must come to a mark, in pixels

  function path(d, attrs) {
    const element = document.createElementNS(kSvg, 'path');
    element.setAttribute('d', d);
    for (const k in attrs) element.setAttribute(k, attrs[k]);
    return element;
  }

  const byStart = (kind) => (kind.at ? kind.at : kind.start);

  class Layer {
    // `group` holds the marks; it is clipped by its parent to the panels.
    constructor(group, kinds) {
      this.group = group;
      this.kinds = kinds.map((kind) => {
        const first = byStart(kind);
        const list = kind.list.slice().sort((a, b) => first(a) - first(b));
        const starts = Float64Array.from(list, first);
        const longest = kind.at ? 0 : list.reduce((n, o) => Math.max(n, kind.end(o) - kind.start(o)), 0);
        return Object.assign({}, kind, { sorted: list, starts, longest });
      });
      for (const kind of this.kinds) this.draw(kind);
    }

    draw(kind) {
      if (kind.sorted.length === 0) return;
      const f = (v) => +v.toFixed(2);
      const parts = [], bars = [];
      for (const o of kind.sorted) {
        const y = kind.y(o);
        if (kind.at) {
          parts.push(`M${kind.at(o)} ${y}V${y + kind.h}`);
        } else {
          const a = kind.start(o), b = kind.end(o);
          parts.push(`M${a} ${y}H${b}V${y + kind.h}H${a}z`);
          bars.push(`M${f((a + b) / 2)} ${y}V${y + kind.h}`);
        }
      }
      const look = Object.assign({ class: `mark ${kind.kind}` }, kind.look);
      if (kind.at) {
        this.group.appendChild(path(parts.join(''), Object.assign(look, { 'stroke-width': kind.bar, 'vector-effect': 'non-scaling-stroke' })));
        return;
      }
      // A short stretch keeps its least width by a bar across its middle.
      const both = document.createElementNS(kSvg, 'g');
      if (kind.opacity !== undefined) both.setAttribute('opacity', kind.opacity);
      both.append(path(parts.join(''), look),
                  path(bars.join(''), { class: 'least-width', fill: 'none', stroke: kind.look.fill, 'stroke-width': kind.least, 'vector-effect': 'non-scaling-stroke' }));
      this.group.appendChild(both);
    }

    // Shows metres from..to across left..right pixels.
    place(from, to, left, right) {
      this.from = from;
      this.scale = (right - left) / (to - from);
      this.left = left;
      this.right = right;
      this.group.setAttribute('transform', `matrix(${this.scale} 0 0 1 ${left - from * this.scale} 0)`);
    }

    x(m) { return this.left + (m - this.from) * this.scale; }

    // The mark's box as drawn: a bar 4 px wide, a stretch at least `least`
    // wide, inside the panels.
    box(kind, o) {
      const y = kind.y(o);
      if (kind.at) return { x: this.x(kind.at(o)) - 2, y, w: 4, h: kind.h };
      const clamp = (px) => Math.min(this.right, Math.max(this.left, px));
      const a = clamp(this.x(kind.start(o))), b = clamp(this.x(kind.end(o)));
      return { x: a, y, w: Math.max(kind.least, b - a), h: kind.h };
    }

    // Of the marks within kReach pixels of (px, py), the nearest, then the
    // one whose middle is nearest: { kind, o, x, y, w, h, distance, middle } or null.
    at(px, py) {
      if (px < this.left - kReach || px > this.right + kReach) return null;
      let best = null;
      const metres = (p) => this.from + (p - this.left) / this.scale;
      for (const kind of this.kinds) {
        const lo = metres(px - kReach - Math.max(kind.least || 0, 2)) - kind.longest, hi = metres(px + kReach + 2);
        let i = lowerBound(kind.starts, lo);
        for (; i < kind.starts.length && kind.starts[i] <= hi; ++i) {
          const o = kind.sorted[i];
          const b = this.box(kind, o);
          const distance = Math.hypot(Math.max(b.x - px, 0, px - b.x - b.w), Math.max(b.y - py, 0, py - b.y - b.h));
          if (distance > kReach) continue;
          const middle = Math.hypot(b.x + b.w / 2 - px, b.y + b.h / 2 - py);
          if (best && (distance > best.distance || (distance === best.distance && middle >= best.middle))) continue;
          best = Object.assign(b, { kind: kind.kind, o, distance, middle });
        }
      }
      return best;
    }
  }

  function lowerBound(values, v) {
    let lo = 0, hi = values.length;
    while (lo < hi) { const mid = (lo + hi) >> 1; if (values[mid] < v) lo = mid + 1; else hi = mid; }
    return lo;
  }

  return { Layer };
})();
