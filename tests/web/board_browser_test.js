// The web board in Debian's chromium: the page follows a game played on the real clock within
// 200 ms, shows "Reconnecting…" when the server goes and the current state when it is back, and
// comes back to the same state after a reload. Screenshots at phone and TV sizes are left in
// SCREENSHOT_DIR for a look.
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const path = require("path");
const readline = require("readline");

const SKIP = 77;
let puppeteer;
try {
  puppeteer = require("puppeteer-core");
} catch (e) {
  console.log("puppeteer-core is not installed: skipped");
  process.exit(SKIP);
}
const chromium = process.env.CHROMIUM;
if (!chromium || !fs.existsSync(chromium)) {
  console.log("chromium not found: skipped");
  process.exit(SKIP);
}
const demo = process.env.BOARD_DEMO;
const shots = process.env.SCREENSHOT_DIR;
fs.mkdirSync(shots, { recursive: true });
const FOLLOW_LIMIT_MS = 200;

// Starts the demo server; resolves with its port and a queue of its "published" lines.
function startDemo(args) {
  const child = spawn(demo, args, { stdio: ["pipe", "pipe", "inherit"] });
  const published = [];
  let waiting = null;
  const lines = readline.createInterface({ input: child.stdout });
  return new Promise((resolve, reject) => {
    child.on("error", reject);
    lines.on("line", (line) => {
      const words = line.split(" ");
      if (words[0] === "listening") resolve({ child, port: Number(words[1]), nextPublished });
      if (words[0] !== "published") return;
      const step = { at: Number(words[6]), step: Number(words[1]), current: words[2] === "-" ? "–" : words[2],
                     count: Number(words[3]), phase: words[4], recent: words[5] === "-" ? [] : words[5].split(",") };
      if (waiting) { const w = waiting; waiting = null; w(step); } else published.push(step);
    });
    function nextPublished() {
      if (published.length) return Promise.resolve(published.shift());
      return new Promise((r) => { waiting = r; });
    }
  });
}

function stopDemo(demoRun) {
  return new Promise((resolve) => { demoRun.child.on("exit", resolve); demoRun.child.kill("SIGTERM"); });
}

// What the page shows, read from its DOM.
function shown(page) {
  return page.evaluate(() => ({
    current: document.getElementById("current").textContent,
    progress: document.getElementById("progress").textContent,
    recent: [...document.querySelectorAll("#strip .chip")].map((c) => c.textContent),
    called: document.querySelectorAll(".cell.called, .cell.current").length,
    live: document.getElementById("live").textContent,
    claim: !document.getElementById("claim").hidden,
  }));
}

function matches(step) {
  return (expected) => {
    const current = document.getElementById("current").textContent;
    const progress = document.getElementById("progress").textContent;
    const recent = [...document.querySelectorAll("#strip .chip")].map((c) => c.textContent).join(",");
    const called = document.querySelectorAll(".cell.called").length;
    const same = current === expected.current && progress === expected.count + " of 90 called" &&
                 recent === expected.recent.join(",") && called === expected.count;
    // When the page drew it, by the same machine's wall clock as the publishing.
    return same && (Number(document.body.dataset.shownAt) || Date.now());
  };
}

async function waitForStep(page, step, timeout) {
  const shownAt = await page.waitForFunction(matches(step), { polling: "mutation", timeout }, step);
  return shownAt.jsonValue();
}

const failures = [];
function check(ok, message) {
  if (!ok) { failures.push(message); console.log("FAIL: " + message); }
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"],
  });
  let run = await startDemo(["--interval-ms", "400", "--steps", "16", "--wait-for-go"]);
  const port = run.port;
  const url = "http://127.0.0.1:" + port + "/";
  try {
    const page = await browser.newPage();
    page.on("pageerror", (e) => check(false, "page error: " + e.message));
    await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 1 });
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById("live").textContent === "Live", { timeout: 5000 });
    run.child.stdin.write("go\n");

    // The game on the real clock: each step must show within the limit of its publishing.
    let worst = 0;
    for (let i = 0; i < 16; ++i) {
      const step = await run.nextPublished();
      let shownAt;
      try {
        shownAt = await waitForStep(page, step, 2000);
      } catch (e) {
        check(false, "step " + step.step + " never shown: " + JSON.stringify(await shown(page)));
        continue;
      }
      const took = shownAt - step.at;
      worst = Math.max(worst, took);
      check(took <= FOLLOW_LIMIT_MS, "step " + step.step + " shown after " + took + " ms");
      if (step.step === 11) {
        check((await shown(page)).claim, "the claim being checked is shown at step 11");
        await page.screenshot({ path: path.join(shots, "phone-claim.png") });
      }
    }
    console.log("slowest step shown " + worst + " ms after publishing");
    check((await page.title()).startsWith("Vorlix @ Korvanda Castle"), "the title names the venue");

    await page.screenshot({ path: path.join(shots, "phone-light.png") });
    await page.click("#theme");
    await page.screenshot({ path: path.join(shots, "phone-dark.png") });
    await page.setViewport({ width: 1920, height: 1080, deviceScaleFactor: 1 });
    await page.screenshot({ path: path.join(shots, "tv-dark.png") });
    await page.click("#theme");
    await page.screenshot({ path: path.join(shots, "tv-contrast.png") });
    await page.click("#theme");
    await page.click("#larger");
    await page.click("#larger");
    await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 1 });
    await page.screenshot({ path: path.join(shots, "phone-light-larger.png") });

    // The server goes: the page says so. It comes back further on: the page shows where it is.
    await stopDemo(run);
    await page.waitForFunction(() => document.getElementById("live").textContent === "Reconnecting…", { timeout: 5000 })
      .catch(() => check(false, "no reconnecting indicator after the server stopped"));
    await page.screenshot({ path: path.join(shots, "phone-reconnecting.png") });
    run = await startDemo(["--listen", "127.0.0.1:" + port, "--start-at", "40", "--steps", "1"]);
    const resumed = await run.nextPublished();
    await waitForStep(page, resumed, 8000).catch(() => check(false, "the state after the restart was not shown"));
    check((await shown(page)).live === "Live", "live again after the restart");

    await page.reload();
    await waitForStep(page, resumed, 5000).catch(() => check(false, "a reload does not come back to the state"));
    await page.setViewport({ width: 1920, height: 1080, deviceScaleFactor: 1 });
    await page.screenshot({ path: path.join(shots, "tv-light.png") });
  } finally {
    await stopDemo(run).catch(() => {});
    await browser.close();
  }
  console.log("screenshots in " + shots);
  if (failures.length) { console.log(failures.length + " failures"); process.exit(1); }
  console.log("ok");
})().catch((e) => { console.log("FAIL: " + (e.stack || e)); process.exit(1); });
