// quillon-web.js: the page's half of the web back end (platform/web/*.cpp
// call it through EM_JS). It owns the canvas, the "GO FULL SCREEN?" dialog,
// the key state and the queue of input events, the Web Audio output and the
// page's notices. Loaded by index.html before quillon.js.
//
// Input: the page's events are queued as window messages [message, wparam,
// lparam] in the order they happen, mouse positions in frame pixels (0..799,
// 0..599, whatever the canvas's size on the page); the viewer's keys are taken
// from the browser (no help page, no reload, no scrolling).
//
// Audio: one looping buffer of the player's (16 blocks of 1024 frames,
// 16-bit stereo at 44,100 Hz) in the program's memory. The audio node asks for
// chunks as it plays; each chunk is taken at the play position, which then
// advances; the player's thread polls that position. A test may set
// QuillonWeb.captureFrames before the music starts to keep the first frames
// handed to Web Audio of each start (QuillonWeb.captured, one Int16Array per
// start, interleaved left and right).
"use strict";

var QuillonWeb = (function () {
  var W = 800, H = 600;
  var FRAMES_PER_CHUNK = 1024, FRAMES_AHEAD = 4096;
  var WM_ACTIVATEAPP = 0x1c, WM_KEYDOWN = 0x100, WM_MOUSEMOVE = 0x200;
  var WM_LBUTTONDOWN = 0x201, WM_LBUTTONUP = 0x202, WM_RBUTTONDOWN = 0x204, WM_RBUTTONUP = 0x205;
  var IDYES = 6, IDNO = 7;

  var q = {
    answer: 0, captureFrames: 0, captured: [], handedBytes: 0, frames: 0, audioKind: "",
  };
  var canvas = null, ctx2d = null, image = null, imageBuffer = null, imagePtr = -1;
  var events = [], down = new Uint8Array(256), pressed = new Uint8Array(256);
  var dialogOpen = false;

  function $(id) { return document.getElementById(id); }

  q.notice = function (text) {
    var n = $("notice");
    if (!n) return;
    n.textContent = text;
    n.hidden = false;
  };

  // --- the canvas ---

  function fit() {
    if (!canvas) return;
    var stage = $("stage");
    var w = stage.clientWidth || window.innerWidth, h = stage.clientHeight || window.innerHeight;
    var scale = Math.min(w / W, h / H);
    if (scale >= 1) scale = Math.floor(scale * 4) / 4;  // crisp steps where the page is large
    canvas.style.width = Math.floor(W * scale) + "px";
    canvas.style.height = Math.floor(H * scale) + "px";
  }

  q.hasCanvas = function () {
    canvas = $("screen");
    if (!canvas || !canvas.getContext) return false;
    ctx2d = canvas.getContext("2d");
    if (!ctx2d) return false;
    canvas.width = W;
    canvas.height = H;
    fit();
    return true;
  };

  q.showCanvas = function (show) {
    if (canvas) canvas.hidden = !show;
    fit();
  };

  q.showCursor = function (show) {
    if (canvas) canvas.style.cursor = show ? "default" : "none";
  };

  q.present = function (ptr, width, height) {
    if (!ctx2d) return;
    // An ImageData over the program's memory; made again when memory grows.
    if (!image || imageBuffer !== HEAPU8.buffer || imagePtr !== ptr) {
      image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, ptr, width * height * 4), width, height);
      imageBuffer = HEAPU8.buffer;
      imagePtr = ptr;
    }
    ctx2d.putImageData(image, 0, 0);
    q.frames++;
  };

  q.closed = function () {
    q.audioClose();
    if (q.context && q.context.close) q.context.close();
    q.context = null;
    if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(function () {});
    if (canvas) canvas.hidden = true;
    $("closed").hidden = false;
    q.isClosed = true;
  };

  // --- input ---

  function virtualKey(e) {
    var c = e.code || "";
    var named = {
      Escape: 27, End: 35, Home: 36, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
      PageUp: 33, PageDown: 34, Enter: 13, NumpadEnter: 13, Space: 32,
    };
    if (named[c]) return named[c];
    var m = /^F([0-9]+)$/.exec(c);
    if (m && +m[1] >= 1 && +m[1] <= 12) return 111 + +m[1];
    m = /^Key([A-Z])$/.exec(c);
    if (m) return m[1].charCodeAt(0);
    m = /^Digit([0-9])$/.exec(c);
    if (m) return 48 + +m[1];
    return 0;
  }

  // Keys the viewer takes from the browser.
  function taken(vk) {
    return vk === 27 || (vk >= 33 && vk <= 40) || (vk >= 112 && vk <= 123) || vk === 32;
  }

  function framePoint(e) {
    var r = canvas.getBoundingClientRect();
    var x = Math.floor((e.clientX - r.left) * W / (r.width || W));
    var y = Math.floor((e.clientY - r.top) * H / (r.height || H));
    x = Math.max(0, Math.min(W - 1, x));
    y = Math.max(0, Math.min(H - 1, y));
    return ((y & 0xffff) << 16) | (x & 0xffff);
  }

  function onKeyDown(e) {
    if (dialogOpen) {
      if (e.key === "Enter") { e.preventDefault(); answer(IDYES); }
      else if (e.key === "Escape") { e.preventDefault(); answer(IDNO); }
      return;
    }
    var vk = virtualKey(e);
    if (!vk) return;
    if (taken(vk)) e.preventDefault();
    if (!e.repeat) pressed[vk] = 1;
    down[vk] = 1;
    events.push([WM_KEYDOWN, vk, 1]);
    if (q.context && q.context.state === "suspended") q.context.resume();
  }

  function onKeyUp(e) {
    var vk = virtualKey(e);
    if (!vk) return;
    if (taken(vk)) e.preventDefault();
    down[vk] = 0;
  }

  q.keyState = function (vk) {
    var r = (down[vk] ? 0x8000 : 0) | (pressed[vk] ? 1 : 0);
    pressed[vk] = 0;
    return r;
  };

  q.nextEvent = function () { return events.length ? events.shift() : null; };

  function listen() {
    window.addEventListener("keydown", onKeyDown);
    window.addEventListener("keyup", onKeyUp);
    window.addEventListener("resize", fit);
    document.addEventListener("fullscreenchange", fit);
    document.addEventListener("visibilitychange", function () {
      events.push([WM_ACTIVATEAPP, document.hidden ? 0 : 1, 0]);
      // A hidden page's timers run about once a second, too seldom for the
      // player's thread to keep up: the music holds until the page is back.
      q.audioHold(document.hidden);
    });
    var c = $("screen");
    c.addEventListener("mousemove", function (e) { events.push([WM_MOUSEMOVE, 0, framePoint(e)]); });
    c.addEventListener("mousedown", function (e) {
      e.preventDefault();
      events.push([WM_MOUSEMOVE, 0, framePoint(e)]);
      if (e.button === 0) events.push([WM_LBUTTONDOWN, 1, framePoint(e)]);
      if (e.button === 2) events.push([WM_RBUTTONDOWN, 2, framePoint(e)]);
    });
    window.addEventListener("mouseup", function (e) {
      if (!canvas || canvas.hidden) return;
      if (e.button === 0) events.push([WM_LBUTTONUP, 0, framePoint(e)]);
      if (e.button === 2) events.push([WM_RBUTTONUP, 0, framePoint(e)]);
    });
    c.addEventListener("contextmenu", function (e) { e.preventDefault(); });
  }

  // --- the question ---

  function answer(id) {
    if (!dialogOpen) return;
    dialogOpen = false;
    $("dialog").hidden = true;
    // This click or key is the user gesture the browser asks for.
    if (id === IDYES) {
      var stage = $("stage");
      if (stage.requestFullscreen) stage.requestFullscreen().catch(function () {});
    }
    startAudio();
    q.answer = id;
  }

  q.ask = function (text) {
    $("question").textContent = text;
    $("dialog").hidden = false;
    dialogOpen = true;
    q.answer = 0;
    $("yes").focus();
  };

  // --- audio ---

  var WORKLET = [
    "class QuillonFeed extends AudioWorkletProcessor {",
    "  constructor() { super(); this.chunks = []; this.at = 0; this.played = 0;",
    "    this.port.onmessage = (e) => { if (e.data === 'flush') { this.chunks = []; this.at = 0; } else this.chunks.push(e.data); }; }",
    "  process(inputs, outputs) {",
    "    const l = outputs[0][0], r = outputs[0][1] || outputs[0][0]; let i = 0;",
    "    while (i < l.length && this.chunks.length) {",
    "      const c = this.chunks[0];",
    "      while (i < l.length && this.at < c.length) { l[i] = c[this.at]; r[i] = c[this.at + 1]; this.at += 2; i++; this.played++; }",
    "      if (this.at >= c.length) { this.chunks.shift(); this.at = 0; }",
    "    }",
    "    for (; i < l.length; i++) { l[i] = 0; r[i] = 0; }",
    "    if (this.played >= 1024) { this.port.postMessage(this.played); this.played = 0; }",
    "    return true;",
    "  }",
    "}",
    "registerProcessor('quillon-feed', QuillonFeed);",
  ].join("\n");

  var Ctx = window.AudioContext || window.webkitAudioContext;
  q.context = null;
  var workletReady = null;
  var dev = { node: null, ptr: 0, length: 0, position: 0, running: false, held: false, queued: 0, capture: null };

  function startAudio() {
    if (!Ctx) return;
    if (!q.context) {
      try { q.context = new Ctx({ sampleRate: 44100 }); } catch (e) { q.context = new Ctx(); }
      var c = q.context;
      workletReady = (c.audioWorklet && window.AudioWorkletNode)
        ? c.audioWorklet.addModule(URL.createObjectURL(new Blob([WORKLET], { type: "text/javascript" })))
            .then(function () { return true; }, function () { return false; })
        : Promise.resolve(false);
    }
    if (q.context.state === "suspended") q.context.resume();
  }

  // Takes frames at the play position: Float32 left/right pairs, and the
  // Int16 copy a test keeps.
  function take(frames) {
    var out = new Float32Array(frames * 2);
    if (!dev.running || dev.held || !dev.length) return out;
    var base = dev.ptr >> 1, samples = dev.length >> 1;
    var at = (dev.position % dev.length) >> 1;
    var heap = HEAP16;
    var cap = dev.capture, capAt = cap ? cap.at : 0;
    for (var i = 0; i < frames * 2; i++) {
      var v = heap[base + at];
      out[i] = v / 32768;
      if (cap && capAt < cap.samples.length) cap.samples[capAt++] = v;
      if (++at === samples) at = 0;
    }
    if (cap) cap.at = capAt;
    dev.position = (dev.position + frames * 4) >>> 0;
    q.handedBytes += frames * 4;
    return out;
  }

  function topUp() {
    if (!dev.node || !dev.node.port) return;
    while (dev.running && !dev.held && dev.queued < FRAMES_AHEAD) {
      var chunk = take(FRAMES_PER_CHUNK);
      dev.node.port.postMessage(chunk, [chunk.buffer]);
      dev.queued += FRAMES_PER_CHUNK;
    }
  }

  q.audioOpen = async function () {
    if (!Ctx) {
      q.notice("This browser has no Web Audio: the issue opens without its music.");
      return 0;
    }
    startAudio();
    var c = q.context;
    if (!c) return 0;
    if (c.sampleRate !== 44100) console.warn("QUILLON: the audio runs at " + c.sampleRate + " Hz, not 44100");
    var worklet = await workletReady;
    if (q.context !== c) return 0;
    if (worklet) {
      dev.node = new AudioWorkletNode(c, "quillon-feed", { numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2] });
      dev.node.port.onmessage = function (e) { dev.queued = Math.max(0, dev.queued - e.data); topUp(); };
      q.audioKind = "worklet";
    } else if (c.createScriptProcessor) {
      dev.node = c.createScriptProcessor(FRAMES_PER_CHUNK, 0, 2);
      dev.node.onaudioprocess = function (e) {
        var b = e.outputBuffer, n = b.length, chunk = take(n);
        var l = b.getChannelData(0), r = b.getChannelData(1);
        for (var i = 0; i < n; i++) { l[i] = chunk[2 * i]; r[i] = chunk[2 * i + 1]; }
      };
      q.audioKind = "script-processor";
    } else {
      q.notice("This browser's Web Audio cannot play generated sound: the issue opens without its music.");
      return 0;
    }
    dev.node.connect(c.destination);
    dev.position = 0;
    dev.running = false;
    dev.queued = 0;
    return 1;
  };

  q.audioWrite = function (ptr, length) {
    dev.ptr = ptr;
    dev.length = length;
    dev.position = 0;
    dev.capture = null;
    if (q.captureFrames > 0) {
      dev.capture = { samples: new Int16Array(q.captureFrames * 2), at: 0 };
      q.captured.push(dev.capture.samples);
    }
  };

  q.audioRun = function (run) {
    dev.running = run && dev.length > 0;
    if (!dev.running) {
      if (dev.node && dev.node.port) dev.node.port.postMessage("flush");
      dev.queued = 0;
    }
    topUp();
  };

  q.audioHold = function (hold) {
    dev.held = !!hold;
    if (dev.held && dev.node && dev.node.port) dev.node.port.postMessage("flush");
    if (dev.held) dev.queued = 0;
    topUp();
  };

  q.audioReset = function () {
    q.audioRun(false);
    dev.length = 0;
    dev.position = 0;
  };

  q.audioClose = function () {
    q.audioReset();
    if (dev.node) {
      dev.node.disconnect();
      if (dev.node.port) dev.node.port.onmessage = null;
      dev.node.onaudioprocess = null;
    }
    dev.node = null;
  };

  q.audioPosition = function () { return dev.position; };
  q.audioRunning = function () { return dev.running; };

  // --- start-up ---

  q.start = function () {
    $("yes").addEventListener("click", function () { answer(IDYES); });
    $("no").addEventListener("click", function () { answer(IDNO); });
    $("again").addEventListener("click", function () { location.reload(); });
    listen();
    fit();
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
      q.notice("This browser cannot run WebAssembly, which the issue needs. Try a current Firefox, Chrome or Safari.");
      return false;
    }
    return true;
  };

  return q;
})();
