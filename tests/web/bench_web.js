// bench_web.js: the frame's costs in the browser next to the same program's
// native figures on this machine (bench/web/web_bench). Serves
// build/web/bench on 127.0.0.1, runs its page in Debian's headless chromium,
// runs the native program, and prints both with their ratio (target: the
// browser within 2x native). Reports; never fails on the figures.
//
//   node tests/web/bench_web.js BENCH_DIR NATIVE_WEB_BENCH
"use strict";
const { execFileSync } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const http = require("http");
const { chromium } = require("playwright-core");

const [benchDir, nativeProgram] = process.argv.slice(2);
if (!benchDir || !nativeProgram) {
  console.error("usage: node bench_web.js BENCH_DIR NATIVE_WEB_BENCH");
  process.exit(2);
}

function parse(line) {
  const r = {};
  for (const m of line.matchAll(/(\w+)=([0-9.]+)/g)) r[m[1]] = parseFloat(m[2]);
  return r;
}

(async () => {
  const root = path.resolve(benchDir);
  const server = http.createServer((req, res) => {
    let name = req.url.split("?")[0];
    if (name === "/") name = "/index.html";
    fs.readFile(path.join(root, path.normalize(name)), (err, data) => {
      if (err) { res.writeHead(404); res.end(); return; }
      res.writeHead(200, { "Content-Type": name.endsWith(".js") ? "text/javascript" : name.endsWith(".wasm") ? "application/wasm" : "text/html" });
      res.end(data);
    });
  });
  await new Promise((r) => server.listen(0, "127.0.0.1", r));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "quillon-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.QUILLON_CHROMIUM || "/usr/bin/chromium", headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  let code = 0;
  try {
    const page = await context.newPage();
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForFunction(() => window.benchResult, null, { timeout: 120000 });
    const web = parse(await page.evaluate(() => window.benchResult));
    const native = parse(execFileSync(nativeProgram, { encoding: "utf8" }));
    console.log("per frame (best round)   browser     native   browser/native (target 2)");
    for (const [what, key] of [["frame composition", "compose_ms"], ["conversion (xbgr8888)", "convert_ms"],
                               ["memcpy of the frame", "memcpy_ms"]]) {
      console.log(`${what.padEnd(24)} ${web[key].toFixed(3).padStart(7)} ms ${native[key].toFixed(3).padStart(7)} ms` +
                  `   ${(web[key] / native[key]).toFixed(2)}`);
    }
    const total = (web.compose_ms + web.convert_ms) / (native.compose_ms + native.convert_ms);
    console.log(`composition + conversion: ${total.toFixed(2)} x native`);
  } catch (e) {
    console.error(e.stack || String(e));
    code = 1;
  } finally {
    await context.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  process.exit(code);
})();
