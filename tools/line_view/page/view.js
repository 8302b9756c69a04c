// The line view's drawing and its controls: every panel is drawn anew for
// the shown km range (wheel or keys to zoom, drag or arrows to pan, the
// range box). The marks along the line and the step panels' lines are drawn
// once (AlongMarks) and only set in place; the other marks go as one piece
// of markup; the texts go through KeptTexts, which moves a text drawn before
// rather than making it again; the labels are placed by Labels so that none
// overlaps another or a mark, in the order of their chainages.
// LineView(data, kept) draws one compile's data into the page; what it
// returns gives what a later compile should keep (kept(): the range and the
// picked diagnostic) and takes this drawing away (dispose()), so that serve
// draws a new compile in place.
const LineView = (data, kept = null) => {
  // Every listener goes with the drawing.
  const ended = new AbortController();
  const on = (target, type, listener, options = {}) => target.addEventListener(type, listener, Object.assign({ signal: ended.signal }, options));
  // The cells' values come as runs [value, count]; each run gets its first cell.
  const cellCount = data.cells.gradient.reduce((n, [, count]) => n + count, 0);
  for (const key of ['gradient', 'speed', 'adhesion']) {
    let first = 0;
    data.cells[key] = data.cells[key].map(([value, count]) => { const run = { value, first }; first += count; return run; });
  }
  // A record by its index: [file, line, keyword, format, values] in the data.
  const recordAt = (k) => {
    const r = data.records[k];
    return r && { file: r[0], line: r[1], keyword: r[2], format: r[3], values: r[4] };
  };
  const fileOf = (r) => data.files[r.file];
  // Each object's index in its list names its labels from one redraw to the next.
  for (const list of [data.stations, data.signals, data.signs, data.slowdowns, data.boards]) list.forEach((o, k) => { o.key = k; });
  const svg = document.getElementById('view');
  const kSvg = 'http://www.w3.org/2000/svg';
  const kColour = { station: '#1f4e9c', signal: '#c62828', slowdown: '#ef6c00', tunnel: '#5d4037', curve: '#6a1b9a', sign: '#666', board: '#222', line: '#00695c', run: '#d81b60' };
  const kSeverity = { error: { rank: 0, colour: '#b71c1c' }, warning: { rank: 1, colour: '#e0a000' }, note: { rank: 2, colour: '#888' } };
  const kLeft = 90, kLineHeight = 1.2;
  // The km axis and the diagnostics row stand right under the plan, so that
  // they are in view with the top of the picture on a laptop's screen.
  const kPanels = { plan: [8, 200], axis: [216, 24], diagnostics: [246, 22], gradient: [292, 64], speed: [378, 64], adhesion: [464, 64], boards: [550, 90], objects: [662, 360] };
  const view = { from: 0, to: data.length };
  // A diagnostic picked before stays picked when the new compile still has it.
  const picked = { diagnostic: kept && kept.picked ? data.diagnostics.findIndex((d) => d.text === kept.picked.text && d.at === kept.picked.at) : -1 };
  let right = 900;

  const x = (m) => kLeft + (m - view.from) / (view.to - view.from) * (right - kLeft);
  const metreAt = (px) => view.from + (px - kLeft) / (right - kLeft) * (view.to - view.from);
  const visible = (a, b = a) => b >= view.from && a <= view.to;
  const clampX = (px) => Math.min(right, Math.max(kLeft, px));
  const boardChainage = (m) => `${Math.floor(m / 1000)}+${String(m % 1000).padStart(3, '0')}`;

  // ---- markup: each redraw is one string, parsed once ----
  const kEscapes = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' };
  const esc = (s) => String(s).replace(/[&<>"']/g, (c) => kEscapes[c]);
  // Numbers and path data (made of numbers and command letters) need no escaping.
  const attr = (k, v) => ` ${k}="${typeof v === 'number' || k === 'd' ? v : esc(v)}"`;
  let out = [];
  function el(name, attrs, content) {
    let s = '<' + name;
    for (const k in attrs) s += attr(k, attrs[k]);
    out.push(content === undefined ? s + '/>' : `${s}>${esc(content)}</${name}>`);
  }
  const open = (name, attrs) => { let s = '<' + name; for (const k in attrs) s += attr(k, attrs[k]); out.push(s + '>'); };
  const close = (name) => out.push(`</${name}>`);
  // A text of the picture, named by `key` so that the next redraw can keep it.
  const text = (key, x0, y0, content, size, attrs = {}) => texts.put('plain', key, x0, y0, content, Object.assign({ 'font-size': size }, attrs));
  // Marks: each kind is drawn as one path, however many marks it holds, and
  // each mark is kept with its box, its record and its tooltip for the
  // pointer to find (hits). A kind's path goes out with flush(kind).
  let hits = [];
  const shapes = new Map();
  // What the tooltip says of a mark of each kind, made when it is shown.
  const kTips = {
    unread: (o) => o.words,
    'speed-board': (b) => `indicatore ${b.speeds.join(' / ')} km/h a ${b.at} m`,
    tunnel: (t) => `galleria ${t.start}–${t.end} m`,
    curve: (c) => `curva a ${c.right ? 'destra' : 'sinistra'}, raggio ${c.radius} m, ${c.start}–${c.end} m`,
    slowdown: (s) => `rallentamento a ${s.speed} km/h, ${s.start}–${s.end} m`,
    warning: (w) => `avviso di rallentamento a ${w.at} m`,
    signal: (s) => `segnale a ${s.at} m`,
    sign: (s) => `cartello «${s.text}» a ${s.at} m`,
    station: (s) => `stazione ${s.name} a ${s.at} m${s.time ? ', ' + s.time : ''}`,
  };
  kTips['plan-tunnel'] = kTips.tunnel;
  kTips['plan-signal'] = kTips.signal;
  kTips['plan-station'] = (s) => `stazione ${s.name} a ${s.at} m`;
  // A mark of `kind` for the object `o`, in the box (x, y, w, h), drawn by the path data `d`.
  function mark(kind, o, x, y, w, h, d, attrs) {
    hits.push({ kind, o, x, y, w, h });
    if (!shapes.has(kind)) shapes.set(kind, { d: [], attrs });
    shapes.get(kind).d.push(d);
  }
  function flush(...kinds) {
    for (const kind of kinds) {
      const shape = shapes.get(kind);
      if (shape) el('path', Object.assign({ class: `mark ${kind}`, d: shape.d.join('') }, shape.attrs));
      shapes.delete(kind);
    }
  }
  const f1 = (v) => v.toFixed(1);
  const rect = (x0, y0, w, h) => `M${f1(x0)} ${f1(y0)}h${f1(w)}v${h}h${f1(-w)}z`;

  // A text's drawn length, measured once per text and size on a canvas (no layout).
  const measurer = document.createElement('canvas').getContext('2d');
  const font = getComputedStyle(svg).fontFamily;
  const widths = new Map();
  let measuredSize = null;
  function measure(content, size) {
    const key = size + '\u0000' + content;
    let w = widths.get(key);
    if (w === undefined) {
      if (measuredSize !== size) { measurer.font = `${size}px ${font}`; measuredSize = size; }
      w = measurer.measureText(content).width * 1.03;
      widths.set(key, w);
    }
    return w;
  }

  // `name` then `tail` in at most `room`: the name is cut first, the tail
  // (times, speeds, the left-out count) only when nothing of the name is left.
  // The name and the tail are measured apart, so that a name is measured
  // once however its tail changes (a kerning pair between them is well
  // within the margin `measure` keeps).
  function fitted(name, tail, size, room) {
    const tailLength = measure(tail, size);
    if (measure(name, size) + tailLength <= room) return name + tail;
    let lo = 0, hi = name.length;
    while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (measure(name.slice(0, mid) + '…', size) + tailLength <= room) lo = mid; else hi = mid - 1; }
    if (lo > 0 || measure('…', size) + tailLength <= room) return name.slice(0, lo) + '…' + tail;
    let n = tail.length;
    while (n > 0 && measure(tail.slice(0, n) + '…', size) > room) --n;
    return n > 0 ? tail.slice(0, n) + '…' : '';
  }

  // Values (a board's speeds) in at most `room`: whole values from the first
  // on, then the tail; the first value alone rather than cut.
  function fittedWords(words, tail, size, room) {
    for (let n = words.length; n > 0; --n) {
      const shown = words.slice(0, n).join(' ') + (n < words.length ? ' …' : '');
      if (measure(shown + tail, size) <= room) return shown + tail;
    }
    return fitted(words[0], '', size, room);
  }

  // ---- labels ----
  // What a lane's label says of an object of each kind (made only for the
  // labels placed), and its colour.
  const kLabels = {
    board: { colour: kColour.board, name: (b) => b.speeds.join(' '), words: (b) => b.speeds.map(String) },
    slowdown: { colour: kColour.slowdown, name: (s) => `${s.speed} km/h` },
    signal: { colour: kColour.signal, name: (s) => boardChainage(s.at) },
    sign: { colour: kColour.sign, name: (s) => s.text },
    station: { colour: kColour.station, name: (s) => s.name, tail: (s) => (s.time ? `  ${s.time}` : '') },
  };
  // Vertical labels in one lane above their marks, in chainage order, with
  // leaders; the count of the labels left out at the nearest placed one.
  function lane(name, items, top, height, size) {
    const thickness = kLineHeight * size;
    const boxes = Labels.laneBoxes(items.map((it) => it.x + 0.3 * size), thickness, top, height, 2, 8 * thickness, kLeft - 30, right + 15);
    const counts = Labels.leftOutCounts(items.map((it) => it.x), boxes.map((b) => (b ? 0 : -1)));
    const leaders = [];
    items.forEach((it, k) => {
      if (boxes[k]) leaders.push(`M${f1(it.x)} ${it.top}V${top + height + 8}L${f1(boxes[k].x + boxes[k].w - 0.65 * size)} ${top + height + 2}`);
    });
    el('path', { class: 'leaders', d: leaders.join(''), fill: 'none', stroke: '#999', 'stroke-width': 0.7 });
    // The lane is turned as a whole, so its texts share one style.
    texts.set(name, { class: 'lane', transform: 'rotate(-90)', 'font-size': size });
    items.forEach((it, k) => {
      const box = boxes[k];
      if (!box) return;
      const base = box.x + box.w - 0.3 * size;
      const look = kLabels[it.kind];
      const tail = (look.tail ? look.tail(it.o) : '') + (counts[k] ? ` +${counts[k]}` : '');
      const label = look.words ? fittedWords(look.words(it.o), tail, size, height) : fitted(look.name(it.o), tail, size, height);
      texts.put(name, `${it.kind} ${it.o.key}`, -(top + height), base, label, { fill: look.colour, class: 'label', 'data-rec': it.o.rec ?? -1 });
    });
  }

  // ---- panels ----
  const title = (name, [top]) => text(name, kLeft, top - 5, name, 12, { 'font-weight': 'bold', fill: '#333' });
  const frame = ([top, height]) => el('rect', { x: kLeft, y: top, width: right - kLeft, height, fill: 'none', stroke: '#bbb' });

  // The runs that hold the cells of the shown range (and one beyond each end).
  function shownRuns(runs) {
    const a = Math.max(0, Math.floor(view.from / 50) - 1), b = Math.min(cellCount - 1, Math.ceil(view.to / 50) + 1);
    let lo = 0, hi = runs.length - 1;
    while (lo < hi) { const mid = (lo + hi + 1) >> 1; if (runs[mid].first <= a) lo = mid; else hi = mid - 1; }
    let end = lo;
    while (end + 1 < runs.length && runs[end + 1].first <= b) ++end;
    return runs.slice(lo, end + 1);
  }

  function niceStep(raw) {
    const unit = Math.pow(10, Math.floor(Math.log10(Math.max(raw, 1e-9))));
    return raw <= unit ? unit : raw <= 2 * unit ? 2 * unit : raw <= 5 * unit ? 5 * unit : 10 * unit;
  }

  function stepPanel(name, allRuns, panel) {
    const [top, height] = panel;
    frame(panel);
    title(name, panel);
    const runs = shownRuns(allRuns);
    let lo = 0, hi = 0;
    for (const r of runs) { lo = Math.min(lo, r.value); hi = Math.max(hi, r.value); }
    if (hi - lo < 1) hi = lo + 1;
    const y = (v) => (top + height - 5 - (v - lo) / (hi - lo) * (height - 12)).toFixed(1);
    const ticks = [lo, hi];
    const step = niceStep((hi - lo) / 3);
    for (let v = Math.ceil(lo / step) * step; v < hi; v += step) ticks.push(v);
    const boxes = ticks.map((v) => [{ x: kLeft - 40, y: Number(y(v)) - 6, w: 34, h: 12 }]);
    Labels.place(boxes).forEach((k, i) => {
      if (k < 0) return;
      el('line', { x1: kLeft - 3, x2: right, y1: y(ticks[i]), y2: y(ticks[i]), stroke: '#eee' });
      text(`${name} ${ticks[i]}`, kLeft - 6, Number(y(ticks[i])) + 4, String(Math.round(ticks[i])), 10, { 'text-anchor': 'end' });
    });
    // The line, drawn once in metres and values, set in place.
    const k = (right - kLeft) / (view.to - view.from), ky = -(height - 12) / (hi - lo);
    const place = `matrix(${k} 0 0 ${ky} ${kLeft - view.from * k} ${top + height - 5 - lo * ky})`;
    stepLines.get(allRuns).setAttribute('transform', place);
    if (allRuns === data.cells.speed && runLine) runLine.setAttribute('transform', place);
  }

  // The cells of a panel past the stop of the reading (their values were
  // never filled in): shaded, said, with a tooltip.
  function unreadPart(from, panel, what, labels, shown = 'non letto') {
    if (from < 0) return;
    from *= 50;
    if (!visible(from, data.length)) return;
    const a = clampX(x(from)), b = clampX(x(data.length));
    const [top, height] = panel;
    const words = `${what} da km ${(from / 1000).toFixed(2)}: la lettura si è fermata a un errore`;
    mark('unread', { rec: -1, words }, a, top, Math.max(1, b - a), height, rect(a, top, Math.max(1, b - a), height), { fill: 'url(#unread)' });
    const label = fitted(shown, '', 11, b - a - 8);
    if (label) labels.push(() => text(what, a + 4, top + 14, label, 11, { fill: '#555', 'font-weight': 'bold', class: 'label' }));
  }

  function grid() {
    const step = niceStep((view.to - view.from) / 10);
    const [axisTop] = kPanels.axis, bottom = kPanels.objects[0] + kPanels.objects[1];
    const ticks = [];
    for (let m = Math.ceil(view.from / step) * step; m <= view.to; m += step) ticks.push(m);
    const labels = ticks.map((m) => { const s = (m / 1000).toString(); const w = s.length * 7; return [{ x: x(m) - w / 2, y: axisTop + 6, w, h: 13 }]; });
    const chosen = Labels.place(labels, [{ x: kLeft - 24, y: axisTop + 6, w: 18, h: 13 }]);
    open('g', { class: 'grid' });
    ticks.forEach((m, i) => {
      const px = x(m).toFixed(1);
      el('path', { d: `M${px} ${axisTop} V${bottom}`, stroke: '#e4e4e4' });
      el('path', { d: `M${px} ${axisTop} v5`, stroke: '#333' });
      if (chosen[i] >= 0) text(`km ${m}`, x(m), axisTop + 17, (m / 1000).toString(), 11, { 'text-anchor': 'middle' });
    });
    close('g');
    el('line', { x1: kLeft, x2: right, y1: axisTop, y2: axisTop, stroke: '#333' });
    text('km', kLeft - 6, axisTop + 17, 'km', 11, { 'text-anchor': 'end' });
  }

  // Of the objects of one kind closer than kThin pixels to the one before,
  // only the first gets a warning's mark or a lane's label: it stands for them.
  const kThin = 2;
  function thinned(list, at) {
    let last = -Infinity;
    return list.filter((o) => {
      const m = at(o);
      if (!visible(m)) return false;
      const px = x(m);
      if (px - last < kThin) return false;
      last = px;
      return true;
    });
  }
  function thinnedStretches(list) {
    let last = -Infinity;
    return list.filter((o) => {
      if (!visible(o.start, o.end)) return false;
      const b = x(o.end);
      if (b - last < kThin) return false;
      last = b;
      return true;
    });
  }

  function boards() {
    const [top, height] = kPanels.boards;
    frame(kPanels.boards);
    title('indicatori_vmax (km/h)', kPanels.boards);
    const items = [];
    for (const b of thinned(data.boards, (b) => b.at)) items.push({ kind: 'board', o: b, x: x(b.at), top: top + height - 14 });
    lane('boards', items, top + 4, height - 30, 10);
  }


  function objects() {
    const [top, height] = kPanels.objects;
    const base = top + height - 6;
    frame(kPanels.objects);
    title('oggetti lungo la linea', kPanels.objects);
    // The warnings' triangles keep their size at every zoom, so they are
    // drawn anew; the other marks are kept along the line (kAlong).
    for (const w of thinned(data.warnings, (w) => w.at))
      mark('warning', w, x(w.at) - 5, base - 52, 10, 9, `M${f1(x(w.at))} ${base - 52}l-5 9h10z`, { fill: kColour.slowdown });
    flush('warning');
    const lower = [];
    for (const s of thinnedStretches(data.slowdowns)) if (visible(s.start)) lower.push({ kind: 'slowdown', o: s, x: x(s.start), top: base - 40 });
    for (const s of thinned(data.signals, (s) => s.at)) lower.push({ kind: 'signal', o: s, x: x(s.at), top: base - 44 });
    for (const s of thinned(data.signs, (s) => s.at)) lower.push({ kind: 'sign', o: s, x: x(s.at), top: base - 24 });
    lower.sort((a, b) => a.x - b.x);
    lane('lower', lower, base - 160, 96, 9);
    const upper = [];
    for (const s of thinned(data.stations, (s) => s.at)) upper.push({ kind: 'station', o: s, x: x(s.at), top: base - 58 });
    lane('stations', upper, top + 6, base - 176 - top - 6, 11);
  }

  // Errors are drawn last, over warnings, over notes; a diagnostic without a
  // chainage has a mark of its own at the start of the row.
  const byRank = data.diagnostics.map((d, i) => i).sort((a, b) => kSeverity[data.diagnostics[a].severity].rank - kSeverity[data.diagnostics[b].severity].rank || a - b);
  const fileLevel = byRank.filter((i) => data.diagnostics[i].at === null);
  function diagnosticsRow() {
    const [top, height] = kPanels.diagnostics;
    frame(kPanels.diagnostics);
    text('diagnostica', kLeft - 6, top + 15, 'diagnostica', 11, { 'text-anchor': 'end', 'font-weight': 'bold' });
    for (const i of byRank.slice().reverse()) {
      const d = data.diagnostics[i];
      const colour = kSeverity[d.severity].colour;
      const attrs = { class: `mark diagnostic ${d.severity}${picked.diagnostic === i ? ' picked' : ''}`, 'data-diagnostic': i, 'data-tip': d.text, fill: colour };
      if (d.at === null) {
        const k = fileLevel.indexOf(i);
        el('rect', Object.assign(attrs, { class: attrs.class + ' file-level', x: kLeft + 4 + Math.min(k, 20) * 7, y: top + 4, width: 6, height: height - 8 }));
      } else if (visible(d.at)) {
        el('path', Object.assign(attrs, { d: `M${x(d.at).toFixed(1)} ${top + 3} l-6 ${height - 6} h12 z`, stroke: 'white', 'stroke-width': 0.5 }));
      }
    }
  }

  // ---- the plan of the shown stretch, turned so the whole line runs left to right ----
  const shape = new PlanShape.Shape(data.plan);

  // The path through the points `indices` (on the screen by sx, sy); with
  // `along`, called every 3 px of it.
  function planPath(indices, sx, sy, along) {
    let px = sx(indices[0]), py = sy(indices[0]), sinceSample = 3;
    let d = `M${f1(px)} ${f1(py)}`;
    for (let k = 1; k < indices.length; ++k) {
      const qx = sx(indices[k]), qy = sy(indices[k]);
      if (along) {
        const length = Math.hypot(qx - px, qy - py);
        let t = 3 - sinceSample;
        for (; t <= length; t += 3) along(px + (qx - px) * t / length, py + (qy - py) * t / length);
        sinceSample = length - (t - 3);
      }
      d += ` L${f1(qx)} ${f1(qy)}`;
      px = qx;
      py = qy;
    }
    return d;
  }

  function plan() {
    const [top, height] = kPanels.plan;
    frame(kPanels.plan);
    text('pianta della linea', kLeft + 6, top + 16, 'pianta della linea', 13, { fill: '#555' });
    if (shape.length < 2) return;
    const first = Math.max(0, shape.index(view.from) - 1), last = shape.index(view.to);
    if (last <= first) return;
    const { minU, maxU, minV, maxV } = shape.bounds(first, last);
    const scale = Math.min((right - kLeft - 80) / Math.max(maxU - minU, 1), (height - 90) / Math.max(maxV - minV, 1));
    const cu = (minU + maxU) / 2, cv = (minV + maxV) / 2, mx = (kLeft + right) / 2, my = top + height / 2 + 8;
    const sx = (i) => mx + (shape.u[i] - cu) * scale, sy = (i) => my - (shape.v[i] - cv) * scale;
    const pointAt = (m) => { const i = Math.min(Math.max(shape.index(m), first), last); return [sx(i), sy(i)]; };
    // Drawn through the points that keep it within a third of a pixel of the whole line.
    const needed = (a, b) => shape.needed(a, b, 0.3 / scale);
    // What labels must leave free: the line and its marks (a bitmap, for
    // they are many), the panel's title and the labels placed (boxes).
    const marks = new Labels.Raster(kLeft, top, right - kLeft, height);
    const labels = new Labels.Taken([{ x: kLeft + 6, y: top + 4, w: 130, h: 16 }]);
    const taken = { add: (b) => labels.add(b), hits: (b) => marks.hits(b) || labels.hits(b) };
    const line = planPath(needed(first, last), sx, sy, (px, py) => marks.add({ x: px - 1.5, y: py - 1.5, w: 3, h: 3 }));
    for (const t of data.tunnels.filter((t) => visible(t.start, t.end))) {
      const a = Math.max(first, shape.index(Math.max(t.start, view.from)) - 1), b = Math.min(last, shape.index(Math.min(t.end, view.to)));
      if (b <= a) continue;
      const { minU: u0, maxU: u1, minV: v0, maxV: v1 } = shape.bounds(a, b);
      const bx = mx + (u0 - cu) * scale, by = my - (v1 - cv) * scale, w = (u1 - u0) * scale, h = (v1 - v0) * scale;
      mark('plan-tunnel', t, bx - 3, by - 3, w + 6, h + 6,
           planPath(needed(a, b), sx, sy), { fill: 'none', stroke: kColour.tunnel, 'stroke-width': 6, 'stroke-opacity': 0.55 });
    }
    flush('plan-tunnel');
    el('path', { class: 'plan-line', d: line, fill: 'none', stroke: '#222', 'stroke-width': 2 });
    for (const s of thinned(data.signals, (s) => s.at)) {
      const [px, py] = pointAt(s.at);
      marks.add({ x: px - 3, y: py - 3, w: 6, h: 6 });
      mark('plan-signal', s, px - 3, py - 3, 6, 6, rect(px - 3, py - 3, 6, 6), { fill: kColour.signal });
    }
    flush('plan-signal');
    const stations = thinned(data.stations, (s) => s.at);
    const places = stations.map((s) => pointAt(s.at));
    stations.forEach((s, k) => {
      const [px, py] = places[k];
      marks.add({ x: px - 5, y: py - 5, w: 10, h: 10 });
      mark('plan-station', s, px - 5, py - 5, 10, 10,
           `M${f1(px - 4.5)} ${f1(py)}a4.5 4.5 0 1 0 9 0a4.5 4.5 0 1 0 -9 0z`, { fill: 'white', stroke: kColour.station, 'stroke-width': 2.2 });
    });
    flush('plan-station');
    const room = kLineHeight * 10;
    const candidates = stations.map((s, k) => {
      const [px, py] = places[k];
      const w = measure(`${s.name} +99`, 10);
      const boxes = [];
      for (const d of [7, 20, 34, 50])
        for (const [dx, dy] of [[1, -1], [-1, -1], [1, 1], [-1, 1]])
          boxes.push({ x: dx > 0 ? px + d * 0.7 : px - d * 0.7 - w, y: dy < 0 ? py - d - room : py + d, w, h: room, px, py });
      return boxes.filter((b) => b.x > kLeft + 2 && b.x + b.w < right - 2 && b.y > top + 2 && b.y + b.h < top + height - 2);
    });
    const chosen = Labels.place(candidates, taken);
    const counts = Labels.leftOutCounts(stations.map((s) => s.at), chosen);
    stations.forEach((s, k) => {
      if (chosen[k] < 0) return;
      const b = candidates[k][chosen[k]];
      const lx = Math.min(Math.max(b.px, b.x), b.x + b.w), ly = b.y + b.h / 2 < b.py ? b.y + b.h : b.y;
      if (Math.hypot(lx - b.px, ly - b.py) > 12) el('line', { x1: b.px.toFixed(1), y1: b.py.toFixed(1), x2: lx.toFixed(1), y2: ly.toFixed(1), stroke: '#9fb3d9', 'stroke-width': 0.7 });
      text(`station ${s.key}`, b.x, b.y + 9.5, s.name + (counts[k] ? ` +${counts[k]}` : ''), 10, { fill: kColour.station, class: 'label plan-label', 'data-rec': s.rec ?? -1 });
    });
  }

  // ---- drawing and the controls ----
  // The marks kept along the line show inside the panels' width only.
  let clipped = null;  // the clip's width and height as last set
  function clipAlong(height) {
    if (clipped && clipped[0] === right - kLeft && clipped[1] === height) return;
    clipped = [right - kLeft, height];
    Object.entries({ x: kLeft, y: 0, width: right - kLeft, height }).forEach(([k, v]) => clipRect.setAttribute(k, v));
  }
  const kmText = (m) => String(Math.round(m) / 1000);
  let size = null;  // the picture's size, read again when the window's changes
  // `quiet`: the picture only, not the range it shows in the form.
  function draw(quiet = false) {
    if (!size) size = [svg.clientWidth, svg.clientHeight];
    const [width, height] = size;
    right = Math.max(kLeft + 300, width - 20);
    hits = [];
    out = ['<defs><pattern id="unread" width="8" height="8" patternUnits="userSpaceOnUse" patternTransform="rotate(45)">' +
           '<rect width="8" height="8" fill="#f1f1f1"/><line x1="0" y1="0" x2="0" y2="8" stroke="#bbb" stroke-width="3"/></pattern></defs>'];
    clipAlong(height);
    along.place(view.from, view.to, kLeft, right);
    grid();
    plan();
    stepPanel('pendenza (‰)', data.cells.gradient, kPanels.gradient);
    stepPanel('velocita (km/h)', data.cells.speed, kPanels.speed);
    stepPanel('aderenza (%)', data.cells.adhesion, kPanels.adhesion);
    const unreadLabels = [];
    unreadPart(data.unreadFrom.speed, kPanels.speed, 'velocita non letta', unreadLabels);
    unreadPart(data.unreadFrom.adhesion, kPanels.adhesion, 'aderenza non letta', unreadLabels);
    // The train description's objects from where its values stop may not have
    // been read either: those of the records after the error were not (the
    // records before it were, wherever they stand).
    const objectsFrom = Math.min(...[data.unreadFrom.speed, data.unreadFrom.adhesion].filter((c) => c >= 0));
    if (Number.isFinite(objectsFrom)) unreadPart(objectsFrom, kPanels.objects, 'oggetti forse non letti', unreadLabels, 'forse non letti');
    flush('unread');
    unreadLabels.forEach((label) => label());
    boards();
    objects();
    diagnosticsRow();
    // Set only when it changes: a new viewBox, even an equal one, lays every text out again.
    const viewBox = `0 0 ${width} ${height}`;
    if (svg.getAttribute('viewBox') !== viewBox) svg.setAttribute('viewBox', viewBox);
    drawing.innerHTML = out.join('');
    out = [];
    texts.finish();
    if (quiet) return;
    svg.dataset.from = view.from;
    svg.dataset.to = view.to;
    document.getElementById('shown-range').textContent = `km ${(view.from / 1000).toFixed(2)} – ${(view.to / 1000).toFixed(2)}`;
    fromBox.value = kmText(view.from);
    toBox.value = kmText(view.to);
  }

  // The shown range, kept inside the line and at least 200 m long.
  function show(from, to, quiet = false) {
    const length = Math.min(data.length, Math.max(200, to - from));
    from = Math.min(Math.max(0, from), data.length - length);
    view.from = from;
    view.to = from + length;
    draw(quiet);
  }
  const zoom = (m, f) => show(m - (m - view.from) * f, m + (view.to - m) * f);
  const pan = (part) => { const d = (view.to - view.from) * part; show(view.from + d, view.to + d); };

  on(svg, 'wheel', (e) => {
    e.preventDefault();
    zoom(metreAt(svgX(e)), e.deltaY > 0 ? 1.25 : 0.8);
  }, { passive: false });

  const svgX = (e) => e.clientX - svg.getBoundingClientRect().left;
  let drag = null;
  on(svg, 'mousedown', (e) => { drag = { x: svgX(e), from: view.from, to: view.to, moved: false }; svg.classList.add('dragging'); });
  on(window, 'mouseup', () => { if (drag) svg.classList.remove('dragging'); setTimeout(() => { drag = null; }); });
  on(svg, 'mousemove', (e) => {
    if (!drag || e.buttons !== 1) return;
    const dm = (svgX(e) - drag.x) / (right - kLeft) * (drag.to - drag.from);
    if (Math.abs(svgX(e) - drag.x) < 2) return;
    drag.moved = true;
    show(drag.from - dm, drag.to - dm);
  });

  // Keys on the picture: + and - zoom about the middle, PageUp and PageDown
  // four times as far, the arrows pan by a fifth, Home shows the whole line,
  // g goes to the range box, n and p step from object to object.
  svg.setAttribute('tabindex', '0');
  svg.setAttribute('aria-label', 'la linea: + e - per lo zoom, PagSu e PagGiù per uno zoom ampio, frecce per spostarsi, ' +
                   'Home per tutta la linea, g per scrivere i km, n e p per passare da un oggetto all\'altro');
  on(svg, 'keydown', (e) => {
    const middle = (view.from + view.to) / 2;
    const action = { '+': () => zoom(middle, 0.8), '=': () => zoom(middle, 0.8), '-': () => zoom(middle, 1.25),
                     PageUp: () => zoom(middle, 0.25), PageDown: () => zoom(middle, 4), g: () => fromBox.select(),
                     n: () => stepObject(1), p: () => stepObject(-1),
                     ArrowLeft: () => pan(-0.2), ArrowRight: () => pan(0.2), Home: () => show(0, data.length) }[e.key];
    if (!action) return;
    e.preventDefault();
    action();
  });

  // The range box: both km given, the second past the first.
  const fromBox = document.getElementById('from-km'), toBox = document.getElementById('to-km');
  for (const b of [fromBox, toBox]) { b.step = 'any'; b.min = '0'; b.required = true; on(b, 'input', () => b.setCustomValidity('')); }
  on(document.getElementById('range'), 'submit', (e) => {
    e.preventDefault();
    const a = fromBox.valueAsNumber * 1000, b = toBox.valueAsNumber * 1000;
    if (!(b > a)) { toBox.setCustomValidity('il secondo km deve superare il primo'); toBox.reportValidity(); return; }
    show(a, b);
  });
  on(document.getElementById('whole-line'), 'click', () => show(0, data.length));

  // ---- the record under the pointer, its values named by the record table ----
  const box = document.getElementById('record');
  const div = (cls, content) => { const d = document.createElement('div'); d.className = cls; d.textContent = content; return d; };
  function showRecord(rec) {
    const r = recordAt(rec);
    box.replaceChildren();
    if (!r) { box.textContent = 'nessun record per questo oggetto'; return; }
    const fields = data.formats[r.format]?.fields || [];
    const table = document.createElement('table');
    r.values.forEach((v, k) => {
      const [name, unit] = fields[k] || [`campo ${k + 1}`, ''];
      const tr = table.insertRow();
      tr.insertCell().textContent = name;
      tr.insertCell().textContent = unit ? `${v} ${unit}` : v;
    });
    box.append(div('keyword', r.keyword), table, div('place', `${fileOf(r)}:${r.line}`));
  }
  const showDiagnostic = (i) => { box.textContent = data.diagnostics[i].text; };
  // The tooltip: what the mark under the pointer is.
  const tip = document.createElement('div');
  tip.id = 'tip';
  tip.setAttribute('role', 'tooltip');
  tip.hidden = true;
  document.body.appendChild(tip);
  // The mark under the pointer: an element that says so, or of the drawn
  // marks within 3 px the nearest, then the one whose middle is nearest.
  function markAt(e) {
    const element = e.target.closest && e.target.closest('[data-rec], [data-diagnostic]');
    if (element) return { element, tip: element.dataset.tip };
    const r = svg.getBoundingClientRect();
    const px = e.clientX - r.left, py = e.clientY - r.top;
    let best = null, bestKey = [3, Infinity];
    for (const h of hits) {
      const distance = Math.hypot(Math.max(h.x - px, 0, px - h.x - h.w), Math.max(h.y - py, 0, py - h.y - h.h));
      if (distance > bestKey[0]) continue;
      const middle = Math.hypot(h.x + h.w / 2 - px, h.y + h.h / 2 - py);
      if (distance === bestKey[0] && middle >= bestKey[1]) continue;
      best = h;
      bestKey = [distance, middle];
    }
    const kept = along.at(px, py);
    if (kept && (!best || kept.distance < bestKey[0] || (kept.distance === bestKey[0] && kept.middle < bestKey[1]))) best = kept;
    return best && { x: best.x, y: best.y, w: best.w, h: best.h, rec: best.o.rec, tip: kTips[best.kind](best.o) };
  }
  const hoverBox = () => svg.querySelector('#hover-box');
  on(svg, 'mousemove', (e) => {
    if (drag && drag.moved) return;
    const found = markAt(e);
    tip.hidden = !found || !found.tip;
    hoverBox()?.setAttribute('visibility', found && !found.element ? 'visible' : 'hidden');
    if (!found) return;
    if (!found.element) {
      const b = hoverBox();
      b.setAttribute('x', found.x - 2); b.setAttribute('y', found.y - 2); b.setAttribute('width', found.w + 4); b.setAttribute('height', found.h + 4);
      if (found.rec !== undefined) showRecord(found.rec);
    } else if (found.element.dataset.diagnostic !== undefined) {
      showDiagnostic(Number(found.element.dataset.diagnostic));
    } else {
      showRecord(Number(found.element.dataset.rec));
    }
    if (!found.tip) return;
    tip.textContent = found.tip;
    tip.style.left = `${Math.min(e.clientX + 14, window.innerWidth - tip.offsetWidth - 4)}px`;
    tip.style.top = `${Math.min(e.clientY + 16, window.innerHeight - tip.offsetHeight - 4)}px`;
  });
  on(svg, 'mouseleave', () => { tip.hidden = true; hoverBox()?.setAttribute('visibility', 'hidden'); });

  // ---- every object from the keyboard, in chainage order: shown, boxed, its record told ----
  const stepped = [['station', data.stations], ['signal', data.signals], ['sign', data.signs], ['speed-board', data.boards],
    ['slowdown', data.slowdowns], ['warning', data.warnings], ['tunnel', data.tunnels], ['curve', data.curves]]
    .flatMap(([kind, list]) => list.map((o) => ({ kind, o, start: o.at ?? o.start, end: o.end ?? o.at })))
    .sort((a, b) => a.start - b.start);
  let steppedAt = -1;
  function stepObject(direction) {
    if (stepped.length === 0) return;
    if (steppedAt < 0 || !visible(stepped[steppedAt].start, stepped[steppedAt].end)) {
      const from = direction > 0 ? stepped.findIndex((it) => it.start >= view.from) : stepped.findLastIndex((it) => it.start <= view.to);
      steppedAt = from >= 0 ? from : direction > 0 ? 0 : stepped.length - 1;
    } else {
      steppedAt = Math.min(stepped.length - 1, Math.max(0, steppedAt + direction));
    }
    const it = stepped[steppedAt];
    const span = Math.min(view.to - view.from, 4000);
    if (!(it.start >= view.from && it.end <= view.to && view.to - view.from <= 4000)) show((it.start + it.end - span) / 2, (it.start + it.end + span) / 2);
    if (it.o.rec !== undefined) showRecord(it.o.rec);
    else box.replaceChildren();
    box.prepend(div('keyword', kTips[it.kind](it.o)));
    const b = hoverBox(), [top, height] = it.kind === 'speed-board' ? kPanels.boards : kPanels.objects;
    const a = clampX(x(it.start)), w = Math.max(4, clampX(x(it.end)) - a);
    Object.entries({ x: a - 2, y: top, width: w + 4, height, visibility: 'visible' }).forEach(([k, v]) => b.setAttribute(k, v));
  }

  // ---- picking a diagnostic: its place shown, its mark and its line picked ----
  const items = [];
  function pick(i, scrollTo) {
    const d = data.diagnostics[i];
    picked.diagnostic = i;
    // Its stretch: 2 km about it, unless a narrower range shows it already.
    const inside = d.at !== null && d.at > view.from + (view.to - view.from) * 0.05 && d.at < view.to - (view.to - view.from) * 0.05;
    if (d.at !== null && !(inside && view.to - view.from <= 2000)) show(d.at - 1000, d.at + 1000);
    else draw();
    items.forEach((li, k) => li.classList.toggle('picked', k === i));
    showDiagnostic(i);
    const target = scrollTo === 'list' ? items[i] : svg.querySelector(`[data-diagnostic="${i}"]`);
    target?.scrollIntoView({ block: 'nearest' });
  }
  on(svg, 'click', (e) => {
    const target = e.target.closest('[data-diagnostic]');
    if (target && !(drag && drag.moved)) pick(Number(target.dataset.diagnostic), 'list');
  });
  const activate = (element, action) => {
    element.tabIndex = 0;
    on(element, 'click', action);
    on(element, 'keydown', (e) => { if (e.key === 'Enter' || e.key === ' ') { e.preventDefault(); action(); } });
  };

  // ---- the lists under the picture: errors first, then warnings, then notes ----
  let list = document.getElementById('diagnostics');
  if (list.tagName !== 'OL') { const ol = document.createElement('ol'); ol.id = 'diagnostics'; list.replaceWith(ol); list = ol; }
  for (const i of byRank) {
    const d = data.diagnostics[i];
    const li = document.createElement('li');
    li.className = d.severity;
    li.textContent = d.text + (d.at === null ? '' : ` (km ${(d.at / 1000).toFixed(2)})`);
    activate(li, () => pick(i, 'picture'));
    items[i] = li;
    list.appendChild(li);
  }
  if (data.diagnostics.length === 0) list.outerHTML = '<p id="diagnostics">nessun problema</p>';
  const rows = document.querySelector('#stations tbody');
  for (const s of data.stations) {
    const tr = document.createElement('tr');
    const r = recordAt(s.rec);
    for (const cell of [s.name, (s.at / 1000).toFixed(3), s.time, s.earliest, r ? `${fileOf(r)}:${r.line}` : '']) tr.insertCell().textContent = cell;
    // Later than its time: the fastest run cannot keep it.
    if (s.time && s.earliest && s.earliest > s.time) tr.cells[3].className = 'late';
    activate(tr, () => { show(s.at - 2000, s.at + 2000); svg.scrollIntoView({ block: 'nearest' }); });
    rows.appendChild(tr);
  }

  // ---- the legend, as draw's picture has it ----
  const legend = document.createElement('ul');
  legend.id = 'legend';
  for (const [name, colour, shape] of [['stazione', kColour.station, 'bar'], ['segnale', kColour.signal, 'bar'], ['rallentamento', kColour.slowdown, 'box'],
    ['avviso', kColour.slowdown, 'triangle'], ['galleria', kColour.tunnel, 'box'], ['curva', kColour.curve, 'box'], ['cartello', kColour.sign, 'bar'],
    ['indicatore vmax', kColour.board, 'bar'], ['errore', kSeverity.error.colour, 'triangle'], ['avvertimento', kSeverity.warning.colour, 'triangle'],
    ['nota', kSeverity.note.colour, 'triangle'], ['non letto', '#bbb', 'hatch'], ...(data.run ? [['corsa più veloce', kColour.run, 'bar']] : [])]) {
    const li = document.createElement('li');
    const swatch = document.createElement('span');
    swatch.className = `swatch ${shape}`;
    swatch.style.setProperty('--colour', colour);
    li.append(swatch, name);
    legend.appendChild(li);
  }
  document.querySelector('header').appendChild(legend);

  // The picture: what each redraw makes anew, then the box around the mark
  // under the pointer.
  const drawing = document.createElementNS(kSvg, 'g');
  // The marks and lines kept along the line, clipped to the panels' width.
  const defs = document.createElementNS(kSvg, 'defs');
  defs.innerHTML = '<clipPath id="along-clip"><rect/></clipPath>';
  const clipRect = defs.querySelector('rect');
  const alongClip = document.createElementNS(kSvg, 'g');
  alongClip.setAttribute('clip-path', 'url(#along-clip)');
  const textLayer = document.createElementNS(kSvg, 'g');
  svg.append(defs, drawing, alongClip, textLayer);
  const texts = new KeptTexts.Layer(textLayer);
  // The step panels' lines, in metres and values, each placed by its transform.
  const stepLines = new Map([data.cells.gradient, data.cells.speed, data.cells.adhesion].map((runs) => {
    let d = `M0 ${runs[0].value}`;
    for (let k = 1; k < runs.length; ++k) d += `H${runs[k].first * 50}V${runs[k].value}`;
    const line = document.createElementNS(kSvg, 'path');
    Object.entries({ d: d + `H${cellCount * 50}`, fill: 'none', stroke: kColour.line, 'stroke-width': 1.6, 'vector-effect': 'non-scaling-stroke' })
      .forEach(([k, v]) => line.setAttribute(k, v));
    alongClip.appendChild(line);
    return [runs, line];
  }));
  // The fastest run over the speed limits, in metres and km/h like the speed
  // panel's line, placed by the same transform.
  const runLine = data.run && document.createElementNS(kSvg, 'path');
  if (runLine) {
    const { from, step, speeds } = data.run, last = from + (speeds.length - 1) * step;
    const d = speeds.map((v, k) => `${k === 0 ? 'M' : 'L'}${Math.min(from + k * step, last)} ${v}`).join('');
    Object.entries({ d, fill: 'none', stroke: kColour.run, 'stroke-width': 1.3, 'vector-effect': 'non-scaling-stroke', class: 'fastest-run' })
      .forEach(([k, v]) => runLine.setAttribute(k, v));
    alongClip.appendChild(runLine);
  }
  // The marks kept along the line, by kind: their rows in the panels.
  const [boardsTop, boardsHeight] = kPanels.boards, [objectsTop, objectsHeight] = kPanels.objects;
  const base = objectsTop + objectsHeight - 6;  // the objects panel's foot, as objects() has it
  const alongGroup = document.createElementNS(kSvg, 'g');
  alongClip.appendChild(alongGroup);
  const along = new AlongMarks.Layer(alongGroup, [
    { kind: 'tunnel', list: data.tunnels, start: (t) => t.start, end: (t) => t.end, y: () => base - 6, h: 6, least: 1, look: { fill: kColour.tunnel } },
    { kind: 'curve', list: data.curves, start: (c) => c.start, end: (c) => c.end, y: (c) => (c.right ? base - 20 : base - 16), h: 4, least: 1.5, look: { fill: kColour.curve } },
    { kind: 'slowdown', list: data.slowdowns, start: (s) => s.start, end: (s) => s.end, y: () => base - 40, h: 10, least: 2, opacity: 0.6, look: { fill: kColour.slowdown } },
    { kind: 'signal', list: data.signals, at: (s) => s.at, y: () => base - 44, h: 20, bar: 2.5, look: { stroke: kColour.signal } },
    { kind: 'sign', list: data.signs, at: (s) => s.at, y: () => base - 27, h: 6, bar: 2, look: { stroke: kColour.sign } },
    { kind: 'station', list: data.stations, at: (s) => s.at, y: () => base - 58, h: 58, bar: 2.5, look: { stroke: kColour.station } },
    { kind: 'speed-board', list: data.boards, at: (b) => b.at, y: () => boardsTop + boardsHeight - 14, h: 10, bar: 2, look: { stroke: '#333' } },
  ]);
  svg.insertAdjacentHTML('beforeend', '<rect id="hover-box" class="hover-box" x="0" y="0" width="0" height="0" visibility="hidden"/>');
  on(window, 'resize', () => { size = null; draw(); });
  if (kept) show(kept.from, kept.to);
  else draw();
  items[picked.diagnostic]?.classList.add('picked');

  // While the browser is idle after the first picture, the picture is drawn
  // at a few nearer ranges and back, in one go each time, so nothing of it
  // shows and the form is left alone: the script engine then has the drawing
  // code compiled before the first wheel step, which would otherwise take
  // about twice as long. It stops at the author's first key, click or wheel.
  const warmRanges = [0.8, 0.64, 0.5];
  let authorActed = false;
  for (const type of ['pointerdown', 'keydown', 'wheel', 'input'])
    on(window, type, () => { authorActed = true; }, { capture: true, passive: true });
  const warm = () => {
    if (authorActed || warmRanges.length === 0) return;
    const [from, to] = [view.from, view.to], part = warmRanges.shift(), middle = (from + to) / 2;
    show(middle - (middle - from) * part, middle + (to - middle) * part, true);
    view.from = from;
    view.to = to;
    draw(true);
    requestIdleCallback(warm);
  };
  if (window.requestIdleCallback && !kept) requestIdleCallback(warm);

  return {
    kept: () => ({ from: view.from, to: view.to, picked: data.diagnostics[picked.diagnostic] || null }),
    dispose: () => {
      ended.abort();
      authorActed = true;
      svg.replaceChildren();
      svg.removeAttribute('viewBox');
      for (const e of [tip, legend]) e.remove();
      for (const e of [list, rows]) e.replaceChildren();
    },
  };
};
window.lineView = LineView(JSON.parse(document.getElementById('line-data').textContent));
