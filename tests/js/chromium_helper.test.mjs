// The Chromium helper of the WebView2 stand-in, driven as the stand-in's
// library drives it: a TCP server on 127.0.0.1, line-delimited JSON. A real
// headless Chromium runs the page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { existsSync } from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const helper = path.join(here, '../../engines/chromium/helper.mjs');

const PAGE = `<!doctype html><title>First</title><script>
chrome.webview.addEventListener('message', (e) => chrome.webview.postMessage({ echo: e.data }));
chrome.webview.postMessage({ hello: location.href });
</script><p id="text">from the package</p>`;

// One helper with its Chromium, and the events it sent.
async function startHelper() {
  const server = net.createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const child = spawn(process.execPath, [helper, '--connect', String(server.address().port), '--width', '640',
    '--height', '480'], { stdio: 'ignore' });
  const socket = await new Promise((resolve) => server.once('connection', resolve));
  server.close();
  const events = [];
  const waiters = [];
  let text = '';
  socket.on('data', (chunk) => {
    text += chunk.toString('utf8');
    for (let end; (end = text.indexOf('\n')) >= 0;) {
      const event = JSON.parse(text.slice(0, end));
      text = text.slice(end + 1);
      events.push(event);
      for (const waiter of [...waiters]) {
        if (waiter.match(event)) {
          waiters.splice(waiters.indexOf(waiter), 1);
          waiter.resolve(event);
        }
      }
    }
  });
  const send = (op) => socket.write(JSON.stringify(op) + '\n');
  const next = (match, what) => {
    const found = events.find(match);
    if (found) {
      events.splice(events.indexOf(found), 1);
      return Promise.resolve(found);
    }
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error(`no ${what} within 20 s`)), 20000);
      waiters.push({ match, resolve: (event) => { clearTimeout(timer); events.splice(events.indexOf(event), 1); resolve(event); } });
    });
  };
  return { child, socket, send, next, events };
}

function alive(pid) {
  try { process.kill(pid, 0); return true; } catch { return false; }
}

test('pages run in Chromium: requests, scripts, messages both ways, titles, close', { timeout: 60000 }, async () => {
  assert.ok(existsSync('/usr/lib/chromium/chromium'), 'Debian chromium is installed (scripts/install-deps.sh)');
  const h = await startHelper();
  try {
    await h.next((e) => e.ev === 'ready', 'ready');
    h.send({ op: 'navigate', url: 'file:///index.html' });
    const request = await h.next((e) => e.ev === 'request', 'the page request');
    assert.equal(request.url, 'file:///index.html');
    h.send({ op: 'respond', requestId: request.requestId, status: 200, reason: 'OK',
      headers: [['Content-Type', 'text/html; charset=utf-8']], body: Buffer.from(PAGE).toString('base64') });
    const hello = await h.next((e) => e.ev === 'message', 'the page message');
    assert.equal(hello.source, 'file:///index.html');
    assert.deepEqual(JSON.parse(hello.json), { hello: 'file:///index.html' });
    await h.next((e) => e.ev === 'navigationCompleted' && e.success, 'the completed navigation');
    assert.equal((await h.next((e) => e.ev === 'title', 'the title')).title, 'First');

    h.send({ op: 'post', json: JSON.stringify({ n: 1 }) });
    const echo = await h.next((e) => e.ev === 'message', 'the echo');
    assert.deepEqual(JSON.parse(echo.json), { echo: { n: 1 } });

    h.send({ op: 'execute', id: 7, script: "document.getElementById('text').textContent" });
    const executed = await h.next((e) => e.ev === 'executed', 'the script result');
    assert.equal(executed.id, 7);
    assert.equal(JSON.parse(executed.json), 'from the package');

    h.send({ op: 'execute', id: 8, script: "document.title = 'Second'; window.close()" });
    await h.next((e) => e.ev === 'windowCloseRequested', 'the close request');
    assert.equal((await h.next((e) => e.ev === 'title', 'the new title')).title, 'Second');

    h.send({ op: 'navigate', url: 'file:///missing.html' });
    const missing = await h.next((e) => e.ev === 'request' && e.url === 'file:///missing.html', 'the second request');
    h.send({ op: 'continue', requestId: missing.requestId });
    const failed = await h.next((e) => e.ev === 'navigationCompleted' && !e.success, 'the failed navigation');
    assert.match(failed.errorText, /ERR_FILE_NOT_FOUND/);
  } finally {
    h.socket.destroy();
  }
  // The connection closed: the helper ends itself and its Chromium.
  for (let i = 0; i < 100 && alive(h.child.pid); i++) await new Promise((r) => setTimeout(r, 100));
  assert.equal(alive(h.child.pid), false, 'the helper ended');
  if (alive(h.child.pid)) h.child.kill('SIGKILL');
});

// Navigates the helper's page to a page answered with `html`.
async function showPage(h, html) {
  await h.next((e) => e.ev === 'ready', 'ready');
  h.send({ op: 'navigate', url: 'file:///index.html' });
  const request = await h.next((e) => e.ev === 'request', 'the page request');
  h.send({ op: 'respond', requestId: request.requestId, status: 200, reason: 'OK',
    headers: [['Content-Type', 'text/html; charset=utf-8']], body: Buffer.from(html).toString('base64') });
  await h.next((e) => e.ev === 'navigationCompleted', 'the completed navigation');
}

test('window.open is held until the program decides; a handled one never loads', { timeout: 60000 }, async () => {
  const h = await startHelper();
  try {
    await showPage(h, '<!doctype html><p>opener</p>');
    h.send({ op: 'execute', id: 1, script: "window.open('file:///second.html', '_blank'); 1" });
    const opened = await h.next((e) => e.ev === 'newWindow', 'the new window');
    assert.equal(opened.url, 'file:///second.html');
    h.send({ op: 'newWindow', id: opened.id, handled: true });
    // A handled window never asks for its page.
    h.send({ op: 'execute', id: 2, script: '2' });
    await h.next((e) => e.ev === 'executed' && e.id === 2, 'a later script');
    await new Promise((r) => setTimeout(r, 500));
    h.send({ op: 'execute', id: 3, script: '3' });
    await h.next((e) => e.ev === 'executed' && e.id === 3, 'a later script');
    assert.equal(h.events.filter((e) => e.ev === 'request' && e.url === 'file:///second.html').length, 0);
  } finally {
    h.socket.destroy();
  }
  for (let i = 0; i < 100 && alive(h.child.pid); i++) await new Promise((r) => setTimeout(r, 100));
  assert.equal(alive(h.child.pid), false, 'the helper ended');
});

test('Chromium killed: the program hears of it and the helper ends', { timeout: 60000 }, async () => {
  const h = await startHelper();
  try {
    await showPage(h, '<!doctype html><p>doomed</p>');
    const { execFileSync } = await import('node:child_process');
    const browser = Number(execFileSync('pgrep', ['-P', String(h.child.pid)]).toString().trim().split('\n')[0]);
    process.kill(browser, 'SIGKILL');
    const failed = await h.next((e) => e.ev === 'processFailed', 'the process failure');
    assert.equal(failed.kind, 0);
    for (let i = 0; i < 100 && alive(h.child.pid); i++) await new Promise((r) => setTimeout(r, 100));
    assert.equal(alive(h.child.pid), false, 'the helper ended');
    assert.equal(alive(browser), false, 'Chromium ended');
  } finally {
    h.socket.destroy();
    if (alive(h.child.pid)) h.child.kill('SIGKILL');
  }
});

test('the page is pictured at the control size and takes mouse and keys', { timeout: 60000 }, async () => {
  const h = await startHelper();
  try {
    await showPage(h, `<!doctype html><body style="margin:0">
      <button id="b" style="position:absolute;left:0;top:0;width:100px;height:50px"
        onclick="chrome.webview.postMessage({ clicked: true })">click</button>
      <input id="i" style="position:absolute;left:0;top:100px" onkeydown="if (event.key === 'Backspace') this.dataset.back = 1">`);
    h.send({ op: 'bounds', width: 320, height: 200 });
    h.send({ op: 'screencast', on: true });
    const frame = await h.next((e) => e.ev === 'frame', 'a picture of the page');
    assert.equal(frame.width, 320);
    assert.equal(Buffer.from(frame.jpeg, 'base64').subarray(0, 2).toString('hex'), 'ffd8', 'a JPEG');

    for (const type of ['mousePressed', 'mouseReleased']) {
      h.send({ op: 'mouse', type, x: 40, y: 20, button: 'left', clickCount: 1 });
    }
    assert.deepEqual(JSON.parse((await h.next((e) => e.ev === 'message', 'the click')).json), { clicked: true });

    for (const type of ['mousePressed', 'mouseReleased']) {
      h.send({ op: 'mouse', type, x: 10, y: 110, button: 'left', clickCount: 1 });
    }
    for (const text of ['a', 'b', 'c']) h.send({ op: 'key', type: 'char', text });
    h.send({ op: 'key', type: 'rawKeyDown', virtualKey: 8, key: 'Backspace', code: 'Backspace' });
    h.send({ op: 'key', type: 'keyUp', virtualKey: 8, key: 'Backspace', code: 'Backspace' });
    h.send({ op: 'execute', id: 9, script: "[document.getElementById('i').value, document.getElementById('i').dataset.back]" });
    const typed = await h.next((e) => e.ev === 'executed' && e.id === 9, 'the typed text');
    assert.deepEqual(JSON.parse(typed.json), ['ab', '1']);
  } finally {
    h.socket.destroy();
  }
  for (let i = 0; i < 100 && alive(h.child.pid); i++) await new Promise((r) => setTimeout(r, 100));
  assert.equal(alive(h.child.pid), false, 'the helper ended');
});
