// web_test.js: the web edition in a real browser. Serves build/web/site on
// 127.0.0.1, starts Debian's chromium headless with a fresh profile and drives
// it over the DevTools protocol (playwright-core), checking:
//   - the page loads and asks "GO FULL SCREEN?"; Escape answers No;
//   - the ticker moves about 60 pixels a second of browser time;
//   - after F2, End, Home and a click on menu row 3 the canvas shows the
//     native scripted back end's frames (web_reference) over the pane and the
//     menu (everything above the ticker bar);
//   - the samples handed to Web Audio for the first seconds are xmrender's
//     output for the built-in module, and again after F11 stops and restarts
//     the music;
//   - a hidden page holds the music and takes it up when shown again;
//   - Escape closes the issue: the still page, the music stopped;
//   - Enter answers Yes (full screen asked for, the frames still run);
//   - without WebAssembly, without Web Audio, or when quillon.wasm cannot be
//     fetched, the page says so (and without Web Audio the issue still runs).
//
//   node tests/web/web_test.js SITE_DIR REFERENCE_DIR MODULE_WAV
//
// REFERENCE_DIR holds web_reference's frames; MODULE_WAV is xmrender's
// rendering of the built-in module (at least 3 seconds). Exit status 0 when
// every check passes.
"use strict";
const http = require("http");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { chromium } = require("playwright-core");

const [siteDir, refDir, wavPath] = process.argv.slice(2);
if (!siteDir || !refDir || !wavPath) {
  console.error("usage: node web_test.js SITE_DIR REFERENCE_DIR MODULE_WAV");
  process.exit(2);
}

const W = 800, H = 600, TICKER_TOP = 580;
const CAPTURE_SECONDS = 3, RATE = 44100;
let failures = 0;
function check(ok, what, detail) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}${detail ? ": " + detail : ""}`);
  if (!ok) failures++;
}

function serve(dir) {
  const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
  const server = http.createServer((req, res) => {
    let name = decodeURIComponent(req.url.split("?")[0]);
    if (name === "/") name = "/index.html";
    const file = path.join(dir, path.normalize(name));
    if (!file.startsWith(dir)) { res.writeHead(403); res.end(); return; }
    fs.readFile(file, (err, data) => {
      if (err) { res.writeHead(404); res.end(); return; }
      res.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
      res.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// The module's samples: the data chunk of xmrender's WAV, as Int16.
function wavSamples(file) {
  const b = fs.readFileSync(file);
  let at = 12;
  while (at + 8 <= b.length) {
    const id = b.toString("ascii", at, at + 4), size = b.readUInt32LE(at + 4);
    if (id === "data") return new Int16Array(b.buffer.slice(b.byteOffset + at + 8, b.byteOffset + at + 8 + size));
    at += 8 + size + (size & 1);
  }
  throw new Error("no data chunk in " + file);
}

// The canvas's pixels as R, G, B bytes, and the browser time they were read at.
async function canvasShot(page) {
  const [b64, t, frames] = await page.evaluate(() => {
    const c = document.getElementById("screen");
    const t = performance.now(), frames = QuillonWeb.frames;
    const d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    const rgb = new Uint8Array(c.width * c.height * 3);
    for (let i = 0, j = 0; i < d.length; i += 4) { rgb[j++] = d[i]; rgb[j++] = d[i + 1]; rgb[j++] = d[i + 2]; }
    let s = "";
    for (let i = 0; i < rgb.length; i += 0x8000) s += String.fromCharCode.apply(null, rgb.subarray(i, i + 0x8000));
    return [btoa(s), t, frames];
  });
  return { rgb: Buffer.from(b64, "base64"), t, frames };
}

async function canvasRGB(page) { return (await canvasShot(page)).rgb; }

// Pixels that differ above the ticker bar, and the first of them.
function compareAbove(a, b, rows) {
  let diff = 0, first = "";
  for (let y = 0; y < rows; y++)
    for (let x = 0; x < W; x++) {
      const i = (y * W + x) * 3;
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) {
        if (!diff) first = `(${x}, ${y}) canvas ${a.slice(i, i + 3).join(",")} native ${b.slice(i, i + 3).join(",")}`;
        diff++;
      }
    }
  return { diff, first };
}

// The ticker's leftward shift between two pictures: the shift at which the
// strip of the second (12 rows, x 260 to 759, shifts up to 180) matches the first best.
function tickerShift(a, b) {
  let best = -1, bestBad = Infinity;
  for (let s = 0; s <= 180; s++) {
    let bad = 0;
    for (let y = 587; y < 599; y++)
      for (let x = 260; x < 760; x++) {
        const i = (y * W + x) * 3, j = (y * W + x - s) * 3;
        if (a[i] !== b[j] || a[i + 1] !== b[j + 1] || a[i + 2] !== b[j + 2]) bad++;
      }
    if (bad < bestBad) { bestBad = bad; best = s; }
  }
  return { shift: best, bad: bestBad };
}

async function hold(page, key, ms = 120) {
  await page.keyboard.down(key);
  await page.waitForTimeout(ms);
  await page.keyboard.up(key);
}

async function openPage(browser, prepare) {
  const page = await browser.newPage({ viewport: { width: 1024, height: 768 } });
  page.on("pageerror", (e) => console.log("page error:", e.message));
  if (prepare) await prepare(page);
  await page.goto(base + "/");
  return page;
}

const state = (page) => page.evaluate(() => ({
  frames: QuillonWeb.frames, handed: QuillonWeb.handedBytes, running: QuillonWeb.audioRunning(),
  kind: QuillonWeb.audioKind, captured: QuillonWeb.captured.length,
  notice: document.getElementById("notice").hidden ? "" : document.getElementById("notice").textContent,
  closed: !document.getElementById("closed").hidden, canvas: !document.getElementById("screen").hidden,
  fullscreen: !!document.fullscreenElement, context: QuillonWeb.context ? QuillonWeb.context.state : "none",
}));

let base;
(async () => {
  const server = await serve(path.resolve(siteDir));
  base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "quillon-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.QUILLON_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    viewport: { width: 1024, height: 768 },
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  const browser = { newPage: async (o) => { const p = await context.newPage(); if (o) await p.setViewportSize(o.viewport); return p; } };
  try {
    const reference = wavSamples(wavPath);
    const page = await openPage(browser);
    await page.waitForSelector("#dialog:not([hidden])", { timeout: 20000 });
    check(await page.textContent("#question") === "GO FULL SCREEN?", "the page asks", await page.textContent("#question"));
    check(await page.isVisible("#yes") && await page.isVisible("#no"), "the dialog offers Yes and No");
    await page.evaluate((n) => { QuillonWeb.captureFrames = n; }, CAPTURE_SECONDS * RATE);
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => QuillonWeb.frames > 30, null, { timeout: 10000 });
    let s = await state(page);
    check(s.canvas && !s.fullscreen && !(await page.isVisible("#dialog")), "Escape answers No: windowed, the canvas runs",
          JSON.stringify(s));
    check(s.context === "running" && s.kind !== "", "the answer started the audio context", `${s.context}, ${s.kind}`);

    // The reader's session against the native frames.
    const box = await page.locator("#screen").boundingBox();
    const steps = [
      ["f2", async () => page.keyboard.press("F2")],
      ["end", async () => page.keyboard.press("End")],
      ["home", async () => page.keyboard.press("Home")],
      ["menu3", async () => {
        // Whole page pixels that fall inside frame pixel (600, 37).
        await page.mouse.move(box.x + Math.ceil((600.5 * box.width) / W), box.y + Math.ceil((37.5 * box.height) / H));
        await page.waitForTimeout(100);
        await page.mouse.down();
        await page.waitForTimeout(100);
        await page.mouse.up();
      }],
    ];
    for (const [name, act] of steps) {
      await act();
      await page.waitForTimeout(800);
      const got = await canvasRGB(page);
      const want = fs.readFileSync(path.join(refDir, name + ".rgb"));
      const c = compareAbove(got, want, TICKER_TOP);
      check(c.diff === 0, `after ${name} the pane and the menu equal the native frame`,
            c.diff ? `${c.diff} pixels differ, first ${c.first}` : "");
    }

    // The samples handed to Web Audio.
    await page.waitForFunction(() => QuillonWeb.handedBytes >= 3 * 44100 * 4 + 4096 * 4, null, { timeout: 20000 });
    const first = await page.evaluate(() => Array.from(QuillonWeb.captured[0]));
    const n = CAPTURE_SECONDS * RATE * 2;
    let same = first.length === n && reference.length >= n;
    let at = -1;
    for (let i = 0; same && i < n; i++) if (first[i] !== reference[i]) { same = false; at = i; }
    check(same, `the first ${CAPTURE_SECONDS} s handed to Web Audio equal xmrender's output`,
          same ? "" : `first difference at sample ${at} (frame ${at >> 1})`);

    // The ticker (by now across the whole bar): its shift over about a
    // couple of seconds of browser time.
    const a = await canvasShot(page);
    await page.waitForTimeout(2000);
    const b = await canvasShot(page);
    const tick = tickerShift(a.rgb, b.rgb);
    const t0 = a.t, t1 = b.t;
    const speed = tick.shift / ((t1 - t0) / 1000);
    // A colour tag leaving the window recolours the text up to the next one,
    // so a few pixels may not follow the shift. One pixel a presented frame,
    // never faster than 60 frames a second; slower only where a loaded
    // machine drops frames (the figure is reported).
    const frames = b.frames - a.frames;
    check(tick.bad < 0.02 * 12 * 500 && Math.abs(tick.shift - frames) <= 2 && speed > 45 && speed < 64,
          "the ticker moves about 60 pixels a second",
          `${tick.shift} px in ${(t1 - t0).toFixed(0)} ms = ${speed.toFixed(1)} px/s over ${frames} frames ` +
          `(${tick.bad} pixels unmatched)`);

    // F11 stops and restarts the music.
    await page.keyboard.press("F11");
    await page.waitForTimeout(300);
    const off1 = await state(page);
    await page.waitForTimeout(500);
    const off2 = await state(page);
    check(!off1.running && off1.handed === off2.handed, "F11 stops the music", `${off1.handed} -> ${off2.handed} bytes`);
    await page.waitForTimeout(500);  // past the switch's lock
    await page.keyboard.press("F11");
    await page.waitForTimeout(1500);
    const on = await state(page);
    check(on.running && on.handed > off2.handed && on.captured === 2, "F11 starts it again", `${off2.handed} -> ${on.handed} bytes`);
    const again = await page.evaluate(() => Array.from(QuillonWeb.captured[1].subarray(0, 44100 * 2)));
    let restart = true;
    for (let i = 0; i < again.length; i++) if (again[i] !== reference[i]) { restart = false; break; }
    check(restart, "the restarted music is the module from its start again");

    // A hidden page holds the music (its timers come too seldom for the
    // player's thread) and takes it up again when shown.
    const visibility = (hidden) => page.evaluate((h) => {
      Object.defineProperty(document, "hidden", { value: h, configurable: true });
      document.dispatchEvent(new Event("visibilitychange"));
    }, hidden);
    await visibility(true);
    await page.waitForTimeout(200);
    const held1 = await state(page);
    await page.waitForTimeout(400);
    const held2 = await state(page);
    await visibility(false);
    await page.waitForTimeout(400);
    const shown = await state(page);
    check(held1.handed === held2.handed && shown.handed > held2.handed, "a hidden page holds the music, a shown one plays it",
          `${held1.handed} -> ${held2.handed} -> ${shown.handed} bytes`);

    // Escape closes the issue.
    await hold(page, "Escape");
    await page.waitForSelector("#closed:not([hidden])", { timeout: 5000 }).catch(() => {});
    const closed = await state(page);
    await page.waitForTimeout(300);
    const after = await state(page);
    check(closed.closed && !closed.canvas && await page.isVisible("#again"), "Escape closes the issue: the still page with its button");
    check(!after.running && after.handed === closed.handed && after.frames === closed.frames,
          "the closed issue plays and draws nothing", `${closed.context}`);
    await page.close();

    // Enter answers Yes.
    const yes = await openPage(browser);
    await yes.waitForSelector("#dialog:not([hidden])", { timeout: 20000 });
    await yes.keyboard.press("Enter");
    await yes.waitForFunction(() => QuillonWeb.frames > 30, null, { timeout: 10000 });
    const ys = await state(yes);
    check(ys.canvas && ys.running, "Enter answers Yes: full screen asked for, the issue runs",
          `fullscreen granted: ${ys.fullscreen}`);
    await yes.close();

    // Bad input.
    const noWasm = await openPage(browser, (p) => p.addInitScript(() => { delete window.WebAssembly; }));
    await noWasm.waitForTimeout(1000);
    const nw = await state(noWasm);
    check(/WebAssembly/.test(nw.notice), "without WebAssembly the page says so", nw.notice);
    await noWasm.close();

    const noAudio = await openPage(browser, (p) => p.addInitScript(() => {
      delete window.AudioContext; delete window.webkitAudioContext;
    }));
    await noAudio.waitForSelector("#dialog:not([hidden])", { timeout: 20000 });
    await noAudio.keyboard.press("Escape");
    await noAudio.waitForFunction(() => QuillonWeb.frames > 30, null, { timeout: 10000 });
    const na = await state(noAudio);
    check(/Web Audio/.test(na.notice) && na.canvas, "without Web Audio the page says so and the issue opens silently",
          na.notice);
    await noAudio.close();

    const noFile = await openPage(browser, (p) => p.route("**/quillon.wasm", (r) => r.fulfill({ status: 404, body: "" })));
    await noFile.waitForTimeout(1500);
    const nf = await state(noFile);
    check(/quillon\.wasm/.test(nf.notice), "a failed fetch of quillon.wasm says so", nf.notice);
    await noFile.close();
  } catch (e) {
    check(false, "the run", e.stack || String(e));
  } finally {
    await context.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(failures ? `web_test: ${failures} check(s) failed` : "web_test: all checks passed");
  process.exit(failures ? 1 : 0);
})();
