(function () {
  var svg = document.getElementById("map"), view = document.getElementById("view");
  var top = document.getElementById("top"), side = document.getElementById("left");
  var at = document.getElementById("at"), row = document.getElementById("row");
  var note = document.getElementById("note"), sel = document.getElementById("sel");
  var S = M.s, R3 = S * Math.sqrt(3), rows = M.d ? M.d.split(";") : [], byXY = {};
  var NAMES = ["ID", "X", "Y", "PoliticalControl", "TerrainType", "PlanetType",
    "StarbaseType", "BaseEconomicPoints", "CurrentEconomicPoints",
    "BaseVictoryPoints", "CurrentVictoryPoints", "BaseSpeedPoints",
    "CurrentSpeedPoints", "LOCKED", "LOCKID"];
  rows.forEach(function (r, i) { var f = r.split(","); byXY[f[1] + "," + f[2]] = i; });
  // A row written short: the ID left out when it is the row's position, and
  // the usual Current, speed, LOCKED and LOCKID.
  function fields(i) {
    var f = rows[i].split(",");
    if (f[0] === "") f[0] = String(i);
    return f.length === 9 ? f.slice(0, 8).concat([f[7], f[8], f[8], "1", "1", "", ""]) : f;
  }
  document.body.className += " scripted";
  function value(v) {
    if (v.indexOf("%") < 0) return v;
    try { return decodeURIComponent(v); } catch (e) { return v; }
  }
  function centre(x, y) { return [M.o[0] + 1.5 * S * x, M.o[1] + R3 * (y + 0.5 * (x & 1))]; }
  var vb = { x: 0, y: 0, w: M.w || 1, h: M.h || 1 };
  // Whether the view is still the fitted whole map (nothing zoomed or
  // panned since): a new window size then fits the map anew.
  var fitted = true;
  function box() { return view.getBoundingClientRect(); }
  function show() {
    svg.setAttribute("viewBox", vb.x + " " + vb.y + " " + vb.w + " " + vb.h);
    // Terrain numbers too small to read are not drawn (which keeps a large
    // map quick to draw).
    svg.classList.toggle("far", S * box().width / vb.w < 9);
    rulers();
  }
  // The whole map in the room the rulers leave free, centred there.
  function fit() {
    var r = box(), w = M.w || 1, h = M.h || 1, left = side.offsetWidth, up = top.offsetHeight;
    var s = Math.min((r.width - left) / w, (r.height - up) / h);
    if (!(s > 0)) s = Math.min(r.width / w, r.height / h) || 1;
    vb = { x: -left / s - ((r.width - left) / s - w) / 2, y: -up / s - ((r.height - up) / s - h) / 2,
           w: r.width / s, h: r.height / s };
    fitted = true;
    show();
  }
  function toMap(cx, cy) {
    var r = box();
    return [vb.x + (cx - r.left) * vb.w / r.width, vb.y + (cy - r.top) * vb.h / r.height];
  }
  function zoomAt(cx, cy, f) {
    var p = toMap(cx, cy), w = vb.w * f;
    w = Math.max(S * 6, Math.min(w, 4 * Math.max(M.w, M.h, S * 6)));
    f = w / vb.w;
    vb = { x: p[0] - (p[0] - vb.x) * f, y: p[1] - (p[1] - vb.y) * f, w: vb.w * f, h: vb.h * f };
    fitted = false;
    show();
  }
  function zoomMiddle(f) { var r = box(); zoomAt(r.left + r.width / 2, r.top + r.height / 2, f); }
  function pan(dx, dy) {
    var r = box();
    vb.x -= dx * vb.w / r.width; vb.y -= dy * vb.h / r.height;
    fitted = false;
    show();
  }
  function hexAt(mx, my) {
    var c = Math.round((mx - M.o[0]) / (1.5 * S)), best = null, bd = S * S;
    for (var x = c - 1; x <= c + 1; x++) {
      var y0 = Math.round((my - M.o[1]) / R3 - 0.5 * (x & 1));
      for (var y = y0 - 1; y <= y0 + 1; y++) {
        var p = centre(x, y), d = (p[0] - mx) * (p[0] - mx) + (p[1] - my) * (p[1] - my);
        if (d <= bd) { bd = d; best = [x, y]; }
      }
    }
    return best;
  }
  function put(list, name, text) {
    var dt = document.createElement("dt"), dd = document.createElement("dd");
    dt.textContent = name; dd.textContent = text; list.appendChild(dt); list.appendChild(dd);
  }
  function select(x, y) {
    var i = byXY[x + "," + y];
    row.textContent = "";
    if (i === undefined) {
      sel.setAttribute("visibility", "hidden");
      note.textContent = "No hex at X " + x + ", Y " + y + ".";
      return false;
    }
    var p = centre(x, y), f = fields(i);
    sel.setAttribute("x", p[0]); sel.setAttribute("y", p[1]);
    sel.setAttribute("visibility", "visible");
    note.textContent = "Hex at X " + x + ", Y " + y + ":";
    for (var k = 0; k < NAMES.length; k++) {
      var v = value(f[k] || "");
      put(row, NAMES[k], v === "" ? "NULL" : v);
    }
    return true;
  }
  function goTo(x, y) {
    var p = centre(x, y), w = Math.min(vb.w, 30 * S * Math.max(1, vb.w / vb.h)), h = w * vb.h / vb.w;
    vb = { x: p[0] - w / 2, y: p[1] - h / 2, w: w, h: h };
    fitted = false;
    show();
    return select(x, y);
  }
  function labels(el, first, last, px, along, text) {
    var step = 1, steps = [1, 2, 5, 10, 20, 50, 100];
    for (var i = 0; i < steps.length && steps[i] * px < 24; i++) step = steps[Math.min(i + 1, steps.length - 1)];
    var html = "";
    for (var n = Math.ceil(first / step) * step; n <= last; n += step) {
      var pos = along(n);
      html += "<span style=\"" + text + pos.toFixed(1) + "px\">" + n + "</span>";
    }
    el.innerHTML = html;
  }
  function rulers() {
    var r = box(), sx = r.width / vb.w, sy = r.height / vb.h;
    labels(top, Math.max(M.x[0], Math.ceil((vb.x - M.o[0]) / (1.5 * S))),
      Math.min(M.x[1], Math.floor((vb.x + vb.w - M.o[0]) / (1.5 * S))),
      1.5 * S * sx, function (c) { return (M.o[0] + 1.5 * S * c - vb.x) * sx; }, "left:");
    labels(side, Math.max(M.y[0], Math.ceil((vb.y - M.o[1]) / R3)),
      Math.min(M.y[1], Math.floor((vb.y + vb.h - M.o[1]) / R3)),
      R3 * sy, function (n) { return (M.o[1] + R3 * n - vb.y) * sy; }, "top:");
  }

  var down = {}, start = null, moved = false;
  function count() { return Object.keys(down).length; }
  view.addEventListener("pointerdown", function (e) {
    view.setPointerCapture(e.pointerId);
    down[e.pointerId] = [e.clientX, e.clientY];
    if (count() === 1) { start = [e.clientX, e.clientY]; moved = false; } else moved = true;
  });
  view.addEventListener("pointermove", function (e) {
    var m = toMap(e.clientX, e.clientY), h = hexAt(m[0], m[1]);
    at.textContent = h ? "X " + h[0] + ", Y " + h[1] : "";
    if (!(e.pointerId in down)) return;
    var ids = Object.keys(down), was = down[e.pointerId];
    if (ids.length === 1) {
      if (Math.abs(e.clientX - start[0]) + Math.abs(e.clientY - start[1]) > 4) moved = true;
      if (moved) pan(e.clientX - was[0], e.clientY - was[1]);
      down[e.pointerId] = [e.clientX, e.clientY];
    } else if (ids.length === 2) {
      var a = down[ids[0]], b = down[ids[1]];
      var d0 = Math.hypot(a[0] - b[0], a[1] - b[1]), m0 = [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2];
      down[e.pointerId] = [e.clientX, e.clientY];
      a = down[ids[0]]; b = down[ids[1]];
      var d1 = Math.hypot(a[0] - b[0], a[1] - b[1]), m1 = [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2];
      pan(m1[0] - m0[0], m1[1] - m0[1]);
      if (d0 > 0 && d1 > 0) zoomAt(m1[0], m1[1], d0 / d1);
    }
  });
  function up(e) {
    if (!(e.pointerId in down)) return;
    if (count() === 1 && !moved) {
      var m = toMap(e.clientX, e.clientY), h = hexAt(m[0], m[1]);
      if (h) select(h[0], h[1]);
    }
    delete down[e.pointerId];
  }
  view.addEventListener("pointerup", up);
  view.addEventListener("pointercancel", function (e) { delete down[e.pointerId]; });
  view.addEventListener("wheel", function (e) {
    e.preventDefault();
    zoomAt(e.clientX, e.clientY, Math.exp(Math.max(-1, Math.min(1, e.deltaY * 0.002))));
  }, { passive: false });
  view.addEventListener("keydown", function (e) {
    var r = box(), k = e.key;
    if (k === "+" || k === "=") zoomMiddle(0.8);
    else if (k === "-") zoomMiddle(1.25);
    else if (k === "ArrowLeft") pan(r.width / 8, 0);
    else if (k === "ArrowRight") pan(-r.width / 8, 0);
    else if (k === "ArrowUp") pan(0, r.height / 8);
    else if (k === "ArrowDown") pan(0, -r.height / 8);
    else return;
    e.preventDefault();
  });
  document.getElementById("zin").addEventListener("click", function () { zoomMiddle(0.8); });
  document.getElementById("zout").addEventListener("click", function () { zoomMiddle(1.25); });
  document.getElementById("fit").addEventListener("click", fit);
  document.getElementById("goto").addEventListener("submit", function (e) {
    e.preventDefault();
    var x = parseInt(document.getElementById("gx").value, 10);
    var y = parseInt(document.getElementById("gy").value, 10);
    if (isNaN(x) || isNaN(y)) { note.textContent = "Give X and Y as whole numbers."; return; }
    goTo(x, y);
  });
  Array.prototype.forEach.call(document.querySelectorAll("[data-c]"), function (b) {
    b.addEventListener("click", function () {
      var on = svg.getAttribute("data-hl") === b.getAttribute("data-c");
      if (on) svg.removeAttribute("data-hl"); else svg.setAttribute("data-hl", b.getAttribute("data-c"));
      Array.prototype.forEach.call(document.querySelectorAll("[data-c]"), function (o) {
        o.setAttribute("aria-pressed", !on && o === b ? "true" : "false");
      });
    });
  });
  window.addEventListener("resize", function () {
    if (fitted) { fit(); return; }
    var r = box(), cy = vb.y + vb.h / 2, h = vb.w * r.height / Math.max(r.width, 1);
    vb = { x: vb.x, y: cy - h / 2, w: vb.w, h: h };
    show();
  });
  // On a narrow screen the legend folds away below the map.
  if (window.innerWidth <= 700) document.getElementById("legend").open = false;
  fit();
})();
