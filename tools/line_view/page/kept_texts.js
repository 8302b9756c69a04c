// Texts that outlive a redraw. The browser lays a text out again whenever
// it is made anew or its content changes, and that costs far more than
// drawing every mark; moving it by its group's translation costs next to
// nothing. So each redraw names its texts by keys: a key drawn before keeps
// its element and only its place (and its content, if that changed) is set;
// a key not drawn this time leaves the picture and is forgotten (a text put
// back into the page is laid out anew anyway). Each text stands in a
// <g transform="translate(x y)">, in a set: a group of the layer whose
// attributes (a lane's rotation, its font size) its texts share. In each set
// the texts stand in the order they were drawn.
'use strict';
const KeptTexts = (() => {
  const kSvg = 'http://www.w3.org/2000/svg';

  function make(name, attrs) {
    const element = document.createElementNS(kSvg, name);
    for (const k in attrs) element.setAttribute(k, attrs[k]);
    return element;
  }

  class Layer {
    constructor(parent) {
      this.parent = parent;
      this.sets = new Map();   // name -> {group, drawn: [place elements]}
      this.kept = new Map();   // set name, key and attributes -> place element, as last drawn
    }

    // The set `name`, made with `attrs` the first time it is asked for.
    set(name, attrs = {}) {
      let s = this.sets.get(name);
      if (!s) {
        s = { group: make('g', attrs), drawn: [] };
        this.parent.appendChild(s.group);
        this.sets.set(name, s);
      }
      return s;
    }

    // Draws `content` at (x, y) of the set's frame. A text with other
    // attributes than last time is a new one.
    put(setName, key, x, y, content, attrs) {
      const s = this.set(setName);
      let id = setName + '\u0000' + key;
      for (const k in attrs) id += '\u0000' + k + '=' + attrs[k];
      let place = this.kept.get(id);
      // A key drawn twice in one redraw gets a text for each time.
      for (let n = 2; place?.drawnNow; ++n) place = this.kept.get(`${id}\u0000${n}`) ?? this.keep(`${id}\u0000${n}`, attrs);
      place ??= this.keep(id, attrs);
      place.drawnNow = true;
      const at = `translate(${x.toFixed(1)} ${y.toFixed(1)})`;
      if (place.shownAt !== at) { place.setAttribute('transform', at); place.shownAt = at; }
      if (place.shownContent !== content) { place.firstChild.textContent = content; place.shownContent = content; }
      s.drawn.push(place);
    }

    keep(id, attrs) {
      const place = make('g', {});
      place.appendChild(make('text', attrs));
      place.shownContent = null;
      place.shownAt = null;
      place.drawnNow = false;
      this.kept.set(id, place);
      return place;
    }

    // Ends a redraw: each set holds what was drawn in it, in order. Texts
    // kept in place are not touched, so the browser keeps their layout.
    finish() {
      for (const [id, place] of this.kept) {
        if (place.drawnNow) { place.drawnNow = false; continue; }
        place.remove();
        this.kept.delete(id);
      }
      for (const s of this.sets.values()) {
        let next = s.group.firstElementChild;
        for (const place of s.drawn) {
          if (place === next) next = next.nextElementSibling;
          else s.group.insertBefore(place, next);
        }
        s.drawn = [];
      }
    }
  }

  return { Layer };
})();
