// The web remote in a real browser: Debian's chromium driven by
// playwright-core, the console on 127.0.0.1 with the virtual interface,
// each action checked on the wire. Started by run-browser-test.sh.
import { test, after, before } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { chromium } from "playwright-core";

const URL = process.env.REMOTE_URL;
const WIRE = process.env.WIRE;
const PASSWORD = process.env.REMOTE_PASSWORD;

// The last whole packet on the wire: FF F0, the slots (a data FF sent as
// FF F7), FF F1 FF. Returns the 513 slots.
function lastLine() {
  const b = readFileSync(WIRE);
  const end = b.lastIndexOf(Buffer.from([0xff, 0xf1, 0xff]));
  if (end < 0) return null;
  const start = b.lastIndexOf(Buffer.from([0xff, 0xf0]), end);
  if (start < 0) return null;
  const slots = [];
  for (let i = start + 2; i < end; i++) {
    if (b[i] === 0xff && b[i + 1] === 0xf7) { slots.push(0xff); i++; } else slots.push(b[i]);
  }
  return slots.length === 513 ? slots : null;
}
const channel = (c) => { const l = lastLine(); return l ? l[c] : -1; };
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
async function waitFor(pred, ms = 5000) {
  const end = Date.now() + ms;
  while (Date.now() < end) { if (pred()) return true; await sleep(25); }
  return pred();
}
// The values a channel takes on the wire over a while.
async function valuesOver(c, ms) {
  const seen = new Set();
  const end = Date.now() + ms;
  while (Date.now() < end) { seen.add(channel(c)); await sleep(20); }
  return seen;
}

let browser;
before(async () => {
  browser = await chromium.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update",
           "--disable-sync", "--no-first-run", "--disable-quic"],
  });
});
after(async () => { if (browser) await browser.close(); });

async function openPage() {
  // A phone held upright.
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true });
  const page = await context.newPage();
  await page.goto(URL);
  await page.waitForSelector("#login:not(.hidden)");
  return page;
}
async function logIn(page, password) {
  await page.fill("#password", password);
  await page.click("#loginButton");
}

test("a wrong password is refused and the console stays untouched", async () => {
  const page = await openPage();
  await logIn(page, PASSWORD + "x");
  await page.waitForFunction(() => document.getElementById("loginError").textContent !== "");
  assert.equal(await page.textContent("#loginError"), "Неверный пароль");
  assert.ok(await page.isHidden("#main"));
  // The page itself cannot reach the live state without a session.
  const opened = await page.evaluate(() => new Promise((resolve) => {
    const ws = new WebSocket("ws://" + location.host + "/ws");
    ws.onopen = () => resolve(true);
    ws.onerror = () => resolve(false);
  }));
  assert.equal(opened, false);
  await page.context().close();
});

test("play, a held picture key and a conveyor slot reach the wire; a second page follows", async () => {
  // The wrong password above slowed this address down for a second.
  await sleep(1100);
  const page = await openPage();
  await logIn(page, PASSWORD);
  await page.waitForSelector("#main:not(.hidden)");
  await page.waitForFunction(() => document.getElementById("scene").textContent !== "");
  const second = await openPage();
  await logIn(second, PASSWORD);
  await second.waitForSelector("#main:not(.hidden)");

  // Stopped: channel 1 holds still.
  assert.ok(await waitFor(() => lastLine() !== null));
  assert.equal((await valuesOver(1, 600)).size, 1);

  // Play: the scenes (channel 1 at 10 and 20) alternate on the wire, and the
  // other page shows the show playing.
  await page.click("#play");
  await second.waitForSelector("#play.on", { timeout: 2000 });
  const playing = await valuesOver(1, 1500);
  assert.ok(playing.has(10) && playing.has(20), [...playing].join(","));

  // Stop from the second page: the first one sees it.
  await second.click("#stop");
  await page.waitForSelector("#stop.on", { timeout: 2000 });

  // Picture key 1 held: channel 5 at its level while the finger is on it.
  assert.equal(channel(5), 0);
  const key = await page.$("#pic-1");
  const box = await key.boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  assert.ok(await waitFor(() => channel(5) === 200, 2000), "picture on: " + channel(5));
  await second.waitForSelector("#pic-1.on", { timeout: 2000 });
  await page.mouse.up();
  assert.ok(await waitFor(() => channel(5) === 0, 2000), "picture off: " + channel(5));

  // Conveyor slot 3 (by hand): its show is loaded, channel 2 goes to 77.
  assert.equal(await page.textContent("#slot-3"), "E=second");
  await page.click("#slot-3");
  assert.ok(await waitFor(() => channel(2) === 77, 5000), "slot: " + channel(2));
  await second.waitForSelector("#slot-3.on", { timeout: 2000 });
  assert.equal(await second.textContent("#konveyr"), "second");

  await page.context().close();
  await second.context().close();
});
