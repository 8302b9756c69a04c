// The line view's drawing and its controls: every panel is drawn anew for
// the shown km range (wheel to zoom, drag to pan, the range box), with its
// labels placed by Labels so that none overlaps another at any scale.
(() => {
  const data = JSON.parse(document.getElementById('line-data').textContent);
  const svg = document.getElementById('view');
  const kNs = 'http://www.w3.org/2000/svg';
  const kColour = { station: '#1f4e9c', signal: '#c62828', slowdown: '#ef6c00', tunnel: '#5d4037', curve: '#6a1b9a', sign: '#666', line: '#00695c' };
  const kLeft = 90, kLineHeight = 1.2;
  const kPanels = { plan: [8, 200], gradient: [240, 64], speed: [326, 64], adhesion: [412, 64], boards: [498, 90], objects: [610, 360], diagnostics: [980, 22], axis: [1008, 30] };
  const view = { from: 0, to: data.length };
  let right = 900;

  const x = (m) => kLeft + (m - view.from) / (view.to - view.from) * (right - kLeft);
  const metreAt = (px) => view.from + (px - kLeft) / (right - kLeft) * (view.to - view.from);
  const visible = (a, b = a) => b >= view.from && a <= view.to;
  const km = (m) => (m / 1000).toFixed(view.to - view.from < 5000 ? 2 : 1);

  function el(name, attrs, parent = svg, text) {
    const e = document.createElementNS(kNs, name);
    for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
    if (text !== undefined) e.textContent = text;
    parent.appendChild(e);
    return e;
  }

  function text(parent, x0, y0, content, size, attrs = {}) {
    return el('text', Object.assign({ x: x0, y: y0, 'font-size': size }, attrs), parent, content);
  }

  // A mark that shows its record when the pointer is on it.
  function mark(kind, rec, title) {
    const g = el('g', { class: `mark ${kind}`, 'data-rec': rec ?? -1 });
    if (title) el('title', {}, g, title);
    return g;
  }

  // ---- labels ----
  // Vertical labels in one lane above their marks, with leaders; a text cut
  // to the lane's height, and the count of the labels left out nearest to it.
  function lane(items, top, height, size) {
    const g = el('g', { class: 'lane' });
    const thickness = kLineHeight * size;
    const candidates = items.map((it) => Labels.laneCandidates(it.x + 0.3 * size, thickness, top, height, 2, 8 * thickness, kLeft - 30, right + 15));
    const chosen = Labels.place(candidates);
    const counts = Labels.leftOutCounts(items.map((it) => it.x), chosen);
    items.forEach((it, k) => {
      if (chosen[k] < 0) return;
      const box = candidates[k][chosen[k]];
      const foot = box.x + box.w - 0.65 * size;
      el('path', { d: `M${it.x} ${it.top} V${top + height + 8} L${foot} ${top + height + 2}`, fill: 'none', stroke: '#999', 'stroke-width': 0.7 }, g);
      const suffix = counts[k] ? ` +${counts[k]}` : '';
      const t = text(g, box.x + box.w - 0.3 * size, top + height, it.text + suffix, size, { transform: `rotate(-90 ${box.x + box.w - 0.3 * size} ${top + height})`, fill: it.colour, class: 'label', 'data-rec': it.rec ?? -1 });
      fit(t, it.text, suffix, height);
    });
  }

  // Cuts a label's text until it is no longer than `room`.
  function fit(t, content, suffix, room) {
    if (t.getComputedTextLength() <= room) return;
    let n = content.length;
    do t.textContent = content.slice(0, --n) + '…' + suffix; while (n > 0 && t.getComputedTextLength() > room);
  }

  // ---- panels ----
  function title(name, [top]) { text(svg, kLeft, top - 5, name, 12, { 'font-weight': 'bold', fill: '#333' }); }

  function frame([top, height]) { el('rect', { x: kLeft, y: top, width: right - kLeft, height, fill: 'none', stroke: '#bbb' }); }

  function cellRange() {
    const cells = data.cells.gradient.length;
    return [Math.max(0, Math.floor(view.from / 50) - 1), Math.min(cells - 1, Math.ceil(view.to / 50) + 1)];
  }

  function niceStep(raw) {
    const unit = Math.pow(10, Math.floor(Math.log10(Math.max(raw, 1e-9))));
    return raw <= unit ? unit : raw <= 2 * unit ? 2 * unit : raw <= 5 * unit ? 5 * unit : 10 * unit;
  }

  function stepPanel(name, values, panel) {
    const [top, height] = panel;
    frame(panel);
    title(name, panel);
    const [a, b] = cellRange();
    let lo = 0, hi = 0;
    for (let c = a; c <= b; ++c) { lo = Math.min(lo, values[c]); hi = Math.max(hi, values[c]); }
    if (hi - lo < 1) hi = lo + 1;
    const y = (v) => top + height - 5 - (v - lo) / (hi - lo) * (height - 12);
    const ticks = [lo, hi];
    const step = niceStep((hi - lo) / 3);
    for (let v = Math.ceil(lo / step) * step; v < hi; v += step) ticks.push(v);
    const boxes = ticks.map((v) => [{ x: kLeft - 40, y: y(v) - 6, w: 34, h: 12 }]);
    Labels.place(boxes).forEach((k, i) => {
      if (k < 0) return;
      el('line', { x1: kLeft - 3, x2: right, y1: y(ticks[i]), y2: y(ticks[i]), stroke: '#eee' });
      text(svg, kLeft - 6, y(ticks[i]) + 4, String(Math.round(ticks[i])), 10, { 'text-anchor': 'end' });
    });
    let d = `M${Math.max(kLeft, x(a * 50))} ${y(values[a])}`;
    for (let c = a + 1; c <= b; ++c) if (values[c] !== values[c - 1]) d += ` H${clampX(x(c * 50))} V${y(values[c])}`;
    d += ` H${clampX(x(b * 50))}`;
    el('path', { d, fill: 'none', stroke: kColour.line, 'stroke-width': 1.6 });
  }

  const clampX = (px) => Math.min(right, Math.max(kLeft, px));

  function grid() {
    const step = niceStep((view.to - view.from) / 10);
    const [top] = kPanels.gradient, [axisTop] = kPanels.axis;
    const g = el('g', { class: 'grid' });
    const ticks = [];
    for (let m = Math.ceil(view.from / step) * step; m <= view.to; m += step) ticks.push(m);
    const labels = ticks.map((m) => { const s = (m / 1000).toString(); const w = s.length * 7; return [{ x: x(m) - w / 2, y: axisTop + 6, w, h: 13 }]; });
    const chosen = Labels.place(labels, [{ x: kLeft - 24, y: axisTop + 6, w: 18, h: 13 }]);
    ticks.forEach((m, i) => {
      el('line', { x1: x(m), x2: x(m), y1: top, y2: axisTop, stroke: '#e4e4e4' }, g);
      el('line', { x1: x(m), x2: x(m), y1: axisTop, y2: axisTop + 5, stroke: '#333' }, g);
      if (chosen[i] >= 0) text(g, x(m), axisTop + 17, (m / 1000).toString(), 11, { 'text-anchor': 'middle' });
    });
    el('line', { x1: kLeft, x2: right, y1: axisTop, y2: axisTop, stroke: '#333' });
    text(svg, kLeft - 6, axisTop + 17, 'km', 11, { 'text-anchor': 'end' });
  }

  function boards() {
    const [top, height] = kPanels.boards;
    frame(kPanels.boards);
    title('indicatori_vmax (km/h)', kPanels.boards);
    const items = [];
    for (const b of data.boards.filter((b) => visible(b.at))) {
      const g = mark('speed-board', b.rec, `${b.at} m`);
      el('line', { x1: x(b.at), x2: x(b.at), y1: top + height - 4, y2: top + height - 14, stroke: '#333', 'stroke-width': 2 }, g);
      items.push({ x: x(b.at), top: top + height - 14, text: b.speeds.join(' '), colour: '#222', rec: b.rec });
    }
    lane(items, top + 4, height - 30, 10);
  }

  function objects() {
    const [top, height] = kPanels.objects;
    const base = top + height - 6;
    frame(kPanels.objects);
    title('oggetti lungo la linea', kPanels.objects);
    for (const t of data.tunnels.filter((t) => visible(t.start, t.end)))
      el('rect', { x: clampX(x(t.start)), y: base - 6, width: Math.max(1, clampX(x(t.end)) - clampX(x(t.start))), height: 6, fill: kColour.tunnel }, mark('tunnel', t.rec, `galleria ${t.start}-${t.end} m`));
    for (const c of data.curves.filter((c) => visible(c.start, c.end)))
      el('rect', { x: clampX(x(c.start)), y: c.right ? base - 20 : base - 16, width: Math.max(1.5, clampX(x(c.end)) - clampX(x(c.start))), height: 4, fill: kColour.curve }, mark('curve', c.rec, `curva a ${c.right ? 'destra' : 'sinistra'}, raggio ${c.radius} m`));
    const lower = [];
    for (const s of data.slowdowns.filter((s) => visible(s.start, s.end))) {
      el('rect', { x: clampX(x(s.start)), y: base - 40, width: Math.max(2, clampX(x(s.end)) - clampX(x(s.start))), height: 10, fill: kColour.slowdown, 'fill-opacity': 0.6 }, mark('slowdown', s.rec));
      if (visible(s.start)) lower.push({ x: x(s.start), top: base - 40, text: `${s.speed} km/h`, colour: kColour.slowdown, rec: s.rec });
    }
    for (const w of data.warnings.filter((w) => visible(w.at)))
      el('path', { d: `M${x(w.at)} ${base - 52} l-5 9 h10 z`, fill: kColour.slowdown }, mark('warning', w.rec, `avviso ${w.at} m`));
    for (const s of data.signals.filter((s) => visible(s.at))) {
      el('line', { x1: x(s.at), x2: x(s.at), y1: base - 24, y2: base - 44, stroke: kColour.signal, 'stroke-width': 2.5 }, mark('signal', s.rec, `segnale ${s.at} m`));
      lower.push({ x: x(s.at), top: base - 44, text: boardChainage(s.at), colour: kColour.signal, rec: s.rec });
    }
    for (const s of data.signs.filter((s) => visible(s.at)))
      lower.push({ x: x(s.at), top: base - 24, text: s.text, colour: kColour.sign, rec: s.rec });
    lower.sort((a, b) => a.x - b.x);
    lane(lower, base - 160, 96, 9);
    const upper = [];
    for (const s of data.stations.filter((s) => visible(s.at))) {
      el('line', { x1: x(s.at), x2: x(s.at), y1: base, y2: base - 58, stroke: kColour.station, 'stroke-width': 2.5 }, mark('station', s.rec, s.name));
      upper.push({ x: x(s.at), top: base - 58, text: s.time ? `${s.name}  ${s.time}` : s.name, colour: kColour.station, rec: s.rec });
    }
    lane(upper, top + 6, base - 176 - top - 6, 11);
  }

  const boardChainage = (m) => `${Math.floor(m / 1000)}+${String(m % 1000).padStart(3, '0')}`;

  function diagnosticsRow() {
    const [top, height] = kPanels.diagnostics;
    frame(kPanels.diagnostics);
    text(svg, kLeft - 6, top + 15, 'diagnostica', 11, { 'text-anchor': 'end', 'font-weight': 'bold' });
    data.diagnostics.forEach((d, i) => {
      if (d.at === null || !visible(d.at)) return;
      const g = el('g', { class: `mark diagnostic ${d.severity}`, 'data-diagnostic': i });
      el('path', { d: `M${x(d.at)} ${top + 3} l-6 ${height - 6} h12 z`, fill: d.severity === 'error' ? '#b71c1c' : d.severity === 'warning' ? '#e0a000' : '#888' }, g);
      el('title', {}, g, d.message);
    });
  }

  // ---- the plan of the shown stretch, turned so the whole line runs left to right ----
  function plan() {
    const [top, height] = kPanels.plan;
    frame(kPanels.plan);
    text(svg, kLeft + 6, top + 16, 'pianta della linea', 13, { fill: '#555' });
    const pts = data.plan;
    if (pts.length < 2) return;
    const [, x0, y0] = pts[0], [, x1, y1] = pts[pts.length - 1];
    let cx = x1 - x0, cy = y1 - y0, chord = Math.hypot(cx, cy);
    if (chord < 1) { cx = 0; cy = 1; chord = 1; }
    const ux = cx / chord, uy = cy / chord;
    const turned = ([, px, py]) => [(px - x0) * ux + (py - y0) * uy, -(px - x0) * uy + (py - y0) * ux];
    const shown = pts.filter(([m], i) => visible(m) || (pts[i + 1] && visible(m, pts[i + 1][0])));
    if (shown.length < 2) return;
    const uv = shown.map(turned);
    const us = uv.map((p) => p[0]), vs = uv.map((p) => p[1]);
    const minU = Math.min(...us), maxU = Math.max(...us), minV = Math.min(...vs), maxV = Math.max(...vs);
    const scale = Math.min((right - kLeft - 80) / Math.max(maxU - minU, 1), (height - 90) / Math.max(maxV - minV, 1));
    const cu = (minU + maxU) / 2, cv = (minV + maxV) / 2;
    const at = (p) => { const [u, v] = turned(p); return [(kLeft + right) / 2 + (u - cu) * scale, top + height / 2 + 8 - (v - cv) * scale]; };
    const pointAt = (m) => {
      let i = pts.findIndex((p) => p[0] >= m);
      if (i < 0) i = pts.length - 1;
      return at(pts[i]);
    };
    el('path', { d: 'M' + shown.map((p) => at(p).join(' ')).join(' L'), fill: 'none', stroke: '#222', 'stroke-width': 2 });
    for (const s of data.signals.filter((s) => visible(s.at))) {
      const [px, py] = pointAt(s.at);
      el('rect', { x: px - 3, y: py - 3, width: 6, height: 6, fill: kColour.signal }, mark('plan-signal', s.rec, `segnale ${s.at} m`));
    }
    const stations = data.stations.filter((s) => visible(s.at));
    const candidates = [], anchors = [];
    const room = kLineHeight * 10;
    for (const s of stations) {
      const [px, py] = pointAt(s.at);
      el('circle', { cx: px, cy: py, r: 4.5, fill: 'white', stroke: kColour.station, 'stroke-width': 2.2 }, mark('plan-station', s.rec, s.name));
      const w = measure(`${s.name} +99`, 10);
      const boxes = [];
      for (const d of [7, 20, 34, 50])
        for (const [dx, dy] of [[1, -1], [-1, -1], [1, 1], [-1, 1]])
          boxes.push({ x: dx > 0 ? px + d * 0.7 : px - d * 0.7 - w, y: dy < 0 ? py - d - room : py + d, w, h: room, px, py });
      candidates.push(boxes.filter((b) => b.x > kLeft + 2 && b.x + b.w < right - 2 && b.y > top + 2 && b.y + b.h < top + height - 2));
      anchors.push(s.at);
    }
    const chosen = Labels.place(candidates, [{ x: kLeft + 6, y: top + 4, w: 130, h: 16 }]);
    const counts = Labels.leftOutCounts(anchors, chosen);
    stations.forEach((s, k) => {
      if (chosen[k] < 0) return;
      const b = candidates[k][chosen[k]];
      const lx = Math.min(Math.max(b.px, b.x), b.x + b.w), ly = b.y + b.h / 2 < b.py ? b.y + b.h : b.y;
      if (Math.hypot(lx - b.px, ly - b.py) > 12) el('line', { x1: b.px, y1: b.py, x2: lx, y2: ly, stroke: '#9fb3d9', 'stroke-width': 0.7 });
      text(svg, b.x, b.y + 9.5, s.name + (counts[k] ? ` +${counts[k]}` : ''), 10, { fill: kColour.station, class: 'label', 'data-rec': s.rec ?? -1 });
    });
  }

  // A text's drawn length, measured in the page.
  function measure(content, size) {
    const t = text(svg, 0, 0, content, size, { visibility: 'hidden' });
    const w = t.getComputedTextLength();
    t.remove();
    return w;
  }

  // ---- drawing and the controls ----
  function draw() {
    right = Math.max(kLeft + 300, svg.clientWidth - 20);
    svg.setAttribute('viewBox', `0 0 ${svg.clientWidth} ${svg.clientHeight}`);
    svg.replaceChildren();
    el('defs', {});
    grid();
    plan();
    stepPanel('pendenza (‰)', data.cells.gradient, kPanels.gradient);
    stepPanel('velocita (km/h)', data.cells.speed, kPanels.speed);
    stepPanel('aderenza (%)', data.cells.adhesion, kPanels.adhesion);
    boards();
    objects();
    diagnosticsRow();
    svg.dataset.from = view.from;
    svg.dataset.to = view.to;
    document.getElementById('shown-range').textContent = `km ${km(view.from)} – ${km(view.to)}`;
    document.getElementById('from-km').value = km(view.from);
    document.getElementById('to-km').value = km(view.to);
  }

  // The shown range, kept inside the line and at least 200 m long.
  function show(from, to) {
    const span = Math.min(data.length, Math.max(200, to - from));
    from = Math.min(Math.max(0, from), data.length - span);
    view.from = from;
    view.to = from + span;
    draw();
  }

  svg.addEventListener('wheel', (e) => {
    e.preventDefault();
    const m = metreAt(svgX(e));
    const f = e.deltaY > 0 ? 1.25 : 0.8;
    show(m - (m - view.from) * f, m + (view.to - m) * f);
  }, { passive: false });

  const svgX = (e) => e.clientX - svg.getBoundingClientRect().left;
  let drag = null;
  svg.addEventListener('mousedown', (e) => { drag = { x: svgX(e), from: view.from, to: view.to }; svg.classList.add('dragging'); });
  window.addEventListener('mouseup', () => { drag = null; svg.classList.remove('dragging'); });
  svg.addEventListener('mousemove', (e) => {
    if (!drag) return;
    const dm = (svgX(e) - drag.x) / (right - kLeft) * (drag.to - drag.from);
    if (Math.abs(dm) > 0) show(drag.from - dm, drag.to - dm);
  });

  document.getElementById('range').addEventListener('submit', (e) => {
    e.preventDefault();
    const a = Number(document.getElementById('from-km').value) * 1000, b = Number(document.getElementById('to-km').value) * 1000;
    if (Number.isFinite(a) && Number.isFinite(b) && b > a) show(a, b);
  });
  document.getElementById('whole-line').addEventListener('click', () => show(0, data.length));

  // ---- the record under the pointer ----
  const box = document.getElementById('record');
  function showRecord(rec) {
    const r = data.records[rec];
    box.replaceChildren();
    if (!r) { box.textContent = 'nessun record per questo oggetto'; return; }
    const k = document.createElement('div'); k.className = 'keyword'; k.textContent = r.keyword;
    const v = document.createElement('div'); v.className = 'values'; v.textContent = r.values.join(', ');
    const p = document.createElement('div'); p.className = 'place'; p.textContent = `${r.file}:${r.line}`;
    box.append(k, v, p);
  }
  function showDiagnostic(i) {
    const d = data.diagnostics[i];
    box.textContent = d.text;
  }
  svg.addEventListener('mouseover', (e) => {
    const target = e.target.closest('[data-rec], [data-diagnostic]');
    if (!target) return;
    if (target.dataset.diagnostic !== undefined) showDiagnostic(Number(target.dataset.diagnostic));
    else showRecord(Number(target.dataset.rec));
  });

  // ---- the lists under the picture ----
  const list = document.getElementById('diagnostics');
  data.diagnostics.forEach((d, i) => {
    const li = document.createElement('li');
    li.className = d.severity;
    li.textContent = d.text + (d.at === null ? '' : ` (km ${(d.at / 1000).toFixed(2)})`);
    if (d.at !== null) li.addEventListener('click', () => { show(d.at - 1000, d.at + 1000); showDiagnostic(i); });
    list.appendChild(li);
  });
  if (data.diagnostics.length === 0) list.outerHTML = '<p id="diagnostics">nessun problema</p>';
  const rows = document.querySelector('#stations tbody');
  for (const s of data.stations) {
    const tr = document.createElement('tr');
    const r = data.records[s.rec];
    for (const cell of [s.name, (s.at / 1000).toFixed(3), s.time, r ? `${r.file}:${r.line}` : '']) {
      const td = document.createElement('td'); td.textContent = cell; tr.appendChild(td);
    }
    tr.addEventListener('click', () => show(s.at - 2000, s.at + 2000));
    rows.appendChild(tr);
  }

  window.addEventListener('resize', draw);
  draw();
})();
