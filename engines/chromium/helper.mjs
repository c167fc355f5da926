// The Chromium side of the WebView2 stand-in: runs Debian's Chromium over
// its DevTools pipe and speaks line-delimited JSON with the stand-in's
// WebView2LoaderWin64.dll (a Windows program under Wine) over TCP on
// 127.0.0.1. It ends Chromium and itself when that connection closes.
//
// Usage: node helper.mjs --connect PORT [--width W] [--height H] [--headed]
//                        [--chromium PATH]
//
// From the program (one JSON object a line, "op"):
//   navigate {url} | addScript {source} | execute {id, script} | post {json}
//   | postString {text} | respond {requestId, status, reason, headers, body}
//   | continue {requestId} | fail {requestId} | newWindow {id, handled}
//   | bounds {width, height} | capture {id} | screencast {on}
//   | mouse {type, x, y, button, clickCount, deltaX, deltaY, modifiers}
//   | key {type, key, code, text, virtualKey, modifiers} | close
// To the program ("ev"):
//   ready {version} | request {requestId, url, method, headers, resourceType,
//   mainDocument} | sourceChanged {url} | contentLoading {errorPage}
//   | navigationCompleted {success, errorText} | message {source, json}
//   | title {title} | newWindow {id, url} | windowCloseRequested
//   | executed {id, json, error} | captured {id, png}
//   | frame {jpeg, width, height} | processFailed {kind}
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

const BINDING = '__vantrelHost';

// Runs in every document and frame before the page's own scripts: the
// page-side object WebView2 offers (window.chrome.webview), the page's
// window.close() and its title, all reported through the binding.
const PAGE_SCRIPT = `(() => {
  const host = window.${BINDING};
  if (typeof host !== 'function') return;
  delete window.${BINDING};
  const send = (message) => host(JSON.stringify(message));
  const target = new EventTarget();
  const webview = {
    postMessage(data) { send({ kind: 'message', source: location.href, json: JSON.stringify(data) }); },
    addEventListener: target.addEventListener.bind(target),
    removeEventListener: target.removeEventListener.bind(target),
  };
  window.chrome = Object.assign(window.chrome || {}, { webview });
  Object.defineProperty(window, '__vantrelDeliver', {
    value: (json) => target.dispatchEvent(new MessageEvent('message', { data: JSON.parse(json) })),
  });
  if (window !== window.top) return;
  window.close = () => send({ kind: 'close' });
  let title = null;
  const report = () => { if (document.title !== title) { title = document.title; send({ kind: 'title', title }); } };
  new MutationObserver(report).observe(document, { subtree: true, childList: true, characterData: true });
  document.addEventListener('DOMContentLoaded', report);
})();`;

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at >= 0 && at + 1 < process.argv.length ? process.argv[at + 1] : fallback;
}

const port = Number(option('--connect', '0'));
const width = Number(option('--width', '1024'));
const height = Number(option('--height', '768'));
const headed = process.argv.includes('--headed');
const chromiumPath = option('--chromium', '/usr/lib/chromium/chromium');

// The connection to the program.
const program = net.connect(port, '127.0.0.1');
program.setNoDelay(true);
const emit = (event) => program.write(JSON.stringify(event) + '\n');

// Chromium over its pipe: commands on fd 3, replies and events on fd 4,
// each a JSON object ended by a NUL byte.
const userDataDir = mkdtempSync(path.join(os.tmpdir(), 'vantrel-chromium-'));
const args = [
  '--remote-debugging-pipe', `--user-data-dir=${userDataDir}`, '--no-first-run', '--no-default-browser-check',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--password-store=basic',
  '--disable-logging', `--window-size=${width},${height}`, '--autoplay-policy=no-user-gesture-required',
  // WebView2 blocks no popup: it asks the host (NewWindowRequested).
  '--disable-popup-blocking',
];
if (!headed) args.push('--headless');
if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
args.push('about:blank');
const chromium = spawn(chromiumPath, args, { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
let ending = false;

function end(code) {
  if (ending) return;
  ending = true;
  try { chromium.kill('SIGKILL'); } catch { /* already gone */ }
  try { rmSync(userDataDir, { recursive: true, force: true }); } catch { /* best effort */ }
  program.end();
  setTimeout(() => process.exit(code), 50);
}

chromium.on('exit', () => {
  if (!ending) emit({ ev: 'processFailed', kind: 0 });
  end(0);
});
chromium.on('error', () => {
  emit({ ev: 'processFailed', kind: 0 });
  end(1);
});
program.on('close', () => end(0));
program.on('error', () => end(1));

let nextId = 1;
const pending = new Map();
const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
  const id = nextId++;
  pending.set(id, { resolve, reject });
  const message = { id, method, params };
  if (sessionId) message.sessionId = sessionId;
  chromium.stdio[3].write(JSON.stringify(message) + '\0');
});
const handlers = new Map();
const on = (method, handler) => handlers.set(method, handler);

let buffer = Buffer.alloc(0);
chromium.stdio[4].on('data', (chunk) => {
  buffer = Buffer.concat([buffer, chunk]);
  for (let end; (end = buffer.indexOf(0)) >= 0;) {
    const message = JSON.parse(buffer.subarray(0, end).toString('utf8'));
    buffer = buffer.subarray(end + 1);
    if (message.id && pending.has(message.id)) {
      const { resolve, reject } = pending.get(message.id);
      pending.delete(message.id);
      if (message.error) reject(new Error(message.error.message)); else resolve(message.result);
    } else if (message.method && handlers.has(message.method)) {
      Promise.resolve(handlers.get(message.method)(message.params, message.sessionId)).catch(() => {});
    }
  }
});

let page = null;  // the session of the page the program shows
const heldPopups = new Map();  // target id -> session of a window.open page, paused

async function startScreencast() {
  await send('Page.startScreencast', { format: 'jpeg', quality: 80, maxWidth: size.width, maxHeight: size.height,
    everyNthFrame: 1 }, page);
}

async function attachPage(targetId) {
  const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
  await send('Page.enable', {}, sessionId);
  await send('Runtime.enable', {}, sessionId);
  await send('Network.enable', {}, sessionId);
  await send('Runtime.addBinding', { name: BINDING }, sessionId);
  await send('Page.addScriptToEvaluateOnNewDocument', { source: PAGE_SCRIPT }, sessionId);
  await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false }, sessionId);
  return sessionId;
}

on('Fetch.requestPaused', (p) => emit({
  ev: 'request', requestId: p.requestId, url: p.request.url, method: p.request.method,
  headers: p.request.headers, resourceType: p.resourceType,
  mainDocument: p.resourceType === 'Document' && p.frameId === mainFrame,
}));
on('Runtime.bindingCalled', (p, sessionId) => {
  if (p.name !== BINDING || sessionId !== page) return;
  const message = JSON.parse(p.payload);
  if (message.kind === 'message') emit({ ev: 'message', source: message.source, json: message.json });
  if (message.kind === 'title') emit({ ev: 'title', title: message.title });
  if (message.kind === 'close') emit({ ev: 'windowCloseRequested' });
});
// A failed main document shows Chromium's error page: the program sees the
// address it asked for, an error page and an unsuccessful navigation.
on('Network.loadingFailed', (p, sessionId) => {
  if (sessionId === page && p.type === 'Document' && !p.canceled) failure = p.errorText;
});
on('Network.requestWillBeSent', (p, sessionId) => {
  if (sessionId === page && p.type === 'Document' && p.frameId === mainFrame) {
    requestedUrl = p.request.url;
    failure = null;
  }
});
on('Page.frameNavigated', (p, sessionId) => {
  if (sessionId !== page || p.frame.parentId) return;
  mainFrame = p.frame.id;
  const errorPage = p.frame.url.startsWith('chrome-error:');
  if (errorPage) failure = failure || 'net::ERR_FAILED';
  emit({ ev: 'sourceChanged', url: errorPage ? requestedUrl : p.frame.url + (p.frame.urlFragment || '') });
  emit({ ev: 'contentLoading', errorPage });
});
on('Page.loadEventFired', (p, sessionId) => {
  if (sessionId !== page) return;
  emit(failure ? { ev: 'navigationCompleted', success: false, errorText: failure }
    : { ev: 'navigationCompleted', success: true });
  failure = null;
});
on('Page.screencastFrame', (p, sessionId) => {
  send('Page.screencastFrameAck', { sessionId: p.sessionId }, sessionId).catch(() => {});
  if (sessionId === page) {
    emit({ ev: 'frame', jpeg: p.data, width: p.metadata.deviceWidth, height: p.metadata.deviceHeight });
  }
});
on('Page.windowOpen', (p, sessionId) => {
  if (sessionId === page) lastWindowOpenUrl = p.url;
});
on('Target.attachedToTarget', async (p) => {
  if (p.targetInfo.type !== 'page' || !p.waitingForDebugger) return;
  heldPopups.set(p.targetInfo.targetId, p.sessionId);
  emit({ ev: 'newWindow', id: p.targetInfo.targetId, url: p.targetInfo.url || lastWindowOpenUrl });
});
on('Inspector.targetCrashed', (p, sessionId) => {
  if (sessionId === page) emit({ ev: 'processFailed', kind: 1 });
});

let mainFrame = null;
let requestedUrl = '';
let failure = null;
let lastWindowOpenUrl = '';
let size = { width, height };
let screencasting = false;

const operations = {
  async navigate({ url }) {
    requestedUrl = url;
    const result = await send('Page.navigate', { url }, page);
    // Refused before any document (an address Chromium cannot load at all).
    if (result.errorText && result.errorText !== 'net::ERR_ABORTED' && !result.loaderId) {
      emit({ ev: 'navigationCompleted', success: false, errorText: result.errorText });
    }
  },
  addScript: ({ source }) => send('Page.addScriptToEvaluateOnNewDocument', { source }, page),
  async execute({ id, script }) {
    try {
      const result = await send('Runtime.evaluate', { expression: script, returnByValue: true }, page);
      if (result.exceptionDetails) {
        emit({ ev: 'executed', id, json: 'null', error: result.exceptionDetails.text });
      } else {
        const value = result.result.value;
        emit({ ev: 'executed', id, json: value === undefined ? 'null' : JSON.stringify(value) });
      }
    } catch (error) {
      emit({ ev: 'executed', id, json: 'null', error: String(error.message) });
    }
  },
  post: ({ json }) => send('Runtime.evaluate', { expression: `window.__vantrelDeliver(${JSON.stringify(json)})` }, page),
  postString: ({ text }) => send('Runtime.evaluate',
    { expression: `window.__vantrelDeliver(${JSON.stringify(JSON.stringify(text))})` }, page),
  respond: ({ requestId, status, reason, headers, body }) => send('Fetch.fulfillRequest', {
    requestId, responseCode: status, responsePhrase: reason,
    responseHeaders: (headers || []).map(([name, value]) => ({ name, value })), body: body || '',
  }),
  continue: ({ requestId }) => send('Fetch.continueRequest', { requestId }),
  fail: ({ requestId }) => send('Fetch.failRequest', { requestId, errorReason: 'Aborted' }),
  async newWindow({ id, handled }) {
    const sessionId = heldPopups.get(id);
    heldPopups.delete(id);
    if (handled) await send('Target.closeTarget', { targetId: id });
    else if (sessionId) await send('Runtime.runIfWaitingForDebugger', {}, sessionId);
  },
  async bounds({ width: w, height: h }) {
    if (w <= 0 || h <= 0) return;
    size = { width: w, height: h };
    await send('Emulation.setDeviceMetricsOverride', { width: w, height: h, deviceScaleFactor: 1, mobile: false }, page);
    if (screencasting) await startScreencast();
  },
  async screencast({ on: wanted }) {
    screencasting = Boolean(wanted);
    if (screencasting) await startScreencast();
    else await send('Page.stopScreencast', {}, page);
  },
  mouse: ({ type, x, y, button, clickCount, deltaX, deltaY, modifiers }) => send('Input.dispatchMouseEvent', {
    type, x, y, button: button || 'none', clickCount: clickCount || 0, deltaX: deltaX || 0, deltaY: deltaY || 0,
    modifiers: modifiers || 0,
  }, page),
  key: ({ type, key, code, text, virtualKey, modifiers }) => send('Input.dispatchKeyEvent', {
    type, key, code, text, unmodifiedText: text, windowsVirtualKeyCode: virtualKey, nativeVirtualKeyCode: virtualKey,
    modifiers: modifiers || 0,
  }, page),
  async capture({ id }) {
    const { data } = await send('Page.captureScreenshot', { format: 'png' }, page);
    emit({ ev: 'captured', id, png: data });
  },
  async close() {
    try { await Promise.race([send('Browser.close'), new Promise((r) => setTimeout(r, 2000))]); } catch { /* gone */ }
    end(0);
  },
};

let lines = '';
program.on('data', (chunk) => {
  lines += chunk.toString('utf8');
  for (let end; (end = lines.indexOf('\n')) >= 0;) {
    const line = lines.slice(0, end);
    lines = lines.slice(end + 1);
    if (!line.trim()) continue;
    const message = JSON.parse(line);
    const operation = operations[message.op];
    if (operation) Promise.resolve(operation(message)).catch(() => {});
  }
});

program.on('connect', async () => {
  try {
    await send('Target.setDiscoverTargets', { discover: true });
    const { targetInfos } = await send('Target.getTargets');
    const first = targetInfos.find((t) => t.type === 'page');
    await send('Fetch.enable', { patterns: [{ urlPattern: '*' }] });
    await send('Target.setAutoAttach', { autoAttach: true, waitForDebuggerOnStart: true, flatten: true });
    mainFrame = first.targetId;
    page = await attachPage(first.targetId);
    const { product } = await send('Browser.getVersion');
    emit({ ev: 'ready', version: product });
  } catch (error) {
    emit({ ev: 'processFailed', kind: 0, error: String(error.message) });
    end(1);
  }
});
