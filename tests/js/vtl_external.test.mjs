// The page-side API script against a mock of WebView2's chrome.webview.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import vm from "node:vm";

const scriptBytes = readFileSync(new URL("../../resources/vtl_external.js", import.meta.url));

// A fresh page: window, chrome.webview (recording posts) and the script run in it.
function loadPage() {
  const listeners = new Set();
  const posted = [];
  const webview = {
    postMessage(message) {
      // The browser sends JSON text: undefined members are dropped.
      posted.push(JSON.parse(JSON.stringify(message)));
    },
    addEventListener(name, listener) { if (name === "message") listeners.add(listener); },
    removeEventListener(name, listener) { if (name === "message") listeners.delete(listener); },
  };
  const window = { chrome: { webview } };
  const context = vm.createContext({ window, Math, Promise });
  vm.runInContext(scriptBytes.toString("utf8").replace(/^\uFEFF/, ""), context);
  const reply = (uuid, success, result) => {
    for (const listener of [...listeners]) listener({ data: { uuid, success, result } });
  };
  return { window, vtl: window.vtl, posted, listeners, reply };
}

const settled = (promise) =>
  Promise.race([promise.then((v) => ({ resolved: v }), (e) => ({ rejected: e })),
                new Promise((r) => setTimeout(() => r("pending"), 20))]);

test("the resource is UTF-8 with a byte-order mark and CR LF line ends only", () => {
  assert.deepEqual([...scriptBytes.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
  const text = scriptBytes.toString("utf8");
  assert.equal(text.replace(/\r\n/g, "").includes("\n"), false);
  assert.equal(text.replace(/\r\n/g, "").includes("\r"), false);
  assert.match(text.replace(/^\uFEFF/, ""), /^\/\//);
});

test("the API object has its members in order", () => {
  const { vtl } = loadPage();
  assert.deepEqual(Object.keys(vtl), ["call", "hello", "isRuntime", "dialogs", "files", "folders", "app", "events"]);
  assert.deepEqual(Object.keys(vtl.dialogs), ["openFile", "saveFile"]);
  assert.deepEqual(Object.keys(vtl.files), ["fileExists", "deleteFile", "writeTextFile"]);
  assert.deepEqual(Object.keys(vtl.folders),
    ["dirExists", "deleteDir", "getTempDir", "getUserDocumentsDir", "getUserDesktopDir"]);
  assert.deepEqual(Object.keys(vtl.app), ["close", "inFullscreen", "enterFullscreen", "exitFullscreen"]);
  assert.deepEqual(Object.keys(vtl.events), ["onCloseQuery"]);
});

test("every function sends its number and argument object", () => {
  const { vtl, posted } = loadPage();
  const args = { filePath: "a.txt" };
  const calls = [
    [() => vtl.hello(), 10001, {}], [() => vtl.isRuntime(), 10002, {}],
    [() => vtl.dialogs.openFile(args), 20001, args], [() => vtl.dialogs.saveFile(args), 20002, args],
    [() => vtl.files.fileExists(args), 30001, args], [() => vtl.files.deleteFile(args), 30002, args],
    [() => vtl.files.writeTextFile(args), 30003, args], [() => vtl.folders.dirExists(args), 40001, args],
    [() => vtl.folders.deleteDir(args), 40002, args], [() => vtl.folders.getTempDir(), 40003, {}],
    [() => vtl.folders.getUserDocumentsDir(), 40004, {}], [() => vtl.folders.getUserDesktopDir(), 40005, {}],
    [() => vtl.app.close(), 50001, {}], [() => vtl.app.inFullscreen(), 50002, {}],
    [() => vtl.app.enterFullscreen(), 50003, {}], [() => vtl.app.exitFullscreen(), 50004, {}],
  ];
  for (const [call, id, data] of calls) {
    call();
    const message = posted.at(-1);
    assert.deepEqual(Object.keys(message), ["id", "uuid", "data"]);
    assert.equal(message.id, id);
    assert.deepEqual(message.data, data);
  }
});

test("identifiers follow the template and differ", () => {
  const { vtl, posted } = loadPage();
  for (let i = 0; i < 500; i++) vtl.hello();
  const ids = posted.map((m) => m.uuid);
  for (const id of ids) assert.match(id, /^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$/);
  assert.equal(new Set(ids).size, ids.length);
});

test("concurrent calls settle with their own replies in any order", async () => {
  const { vtl, posted, listeners, reply } = loadPage();
  const first = vtl.folders.getTempDir();
  const second = vtl.files.fileExists({});
  const third = vtl.hello();
  assert.equal(listeners.size, 3);
  reply(posted[2].uuid, true, "2021.10");
  reply(posted[0].uuid, true, "C:\\Temp\\");
  reply("someone-else", true, "ignored");
  reply(posted[1].uuid, false, "Missing filePath");
  assert.deepEqual(await settled(first), { resolved: "C:\\Temp\\" });
  assert.deepEqual(await settled(second), { rejected: "Missing filePath" });
  assert.deepEqual(await settled(third), { resolved: "2021.10" });
  assert.equal(listeners.size, 0, "each listener removed itself on its reply");
});

test("a reply is matched by strict equality of the identifier", async () => {
  const { vtl, posted, reply } = loadPage();
  const call = vtl.isRuntime();
  reply(new String(posted[0].uuid), true, true);
  assert.equal(await settled(call), "pending");
  reply(posted[0].uuid, 1, false);
  assert.deepEqual(await settled(call), { resolved: false });
});

test("a detached hello fails and a detached group function works", async () => {
  const { vtl, posted, reply } = loadPage();
  const hello = vtl.hello;
  assert.throws(() => hello());
  const getTempDir = vtl.folders.getTempDir;
  const pending = getTempDir();
  reply(posted[0].uuid, true, "C:\\Temp\\");
  assert.deepEqual(await settled(pending), { resolved: "C:\\Temp\\" });
});

test("group functions use whatever window.vtl.call holds at call time", () => {
  const { window, vtl } = loadPage();
  const seen = [];
  window.vtl.call = (id, args) => { seen.push([id, args]); return "replaced"; };
  assert.equal(vtl.folders.dirExists({ dirPath: "x" }), "replaced");
  assert.deepEqual(seen, [[40001, { dirPath: "x" }]]);
});

test("a call without its argument object sends no data and never settles", async () => {
  const { vtl, posted, listeners } = loadPage();
  const call = vtl.files.fileExists();
  assert.equal("data" in posted[0], false);
  assert.equal(await settled(call), "pending");
  assert.equal(listeners.size, 1);
});

test("onCloseQuery asks the host to close and returns nothing", () => {
  const { vtl, posted } = loadPage();
  assert.equal(vtl.events.onCloseQuery(), undefined);
  assert.equal(posted[0].id, 50001);
});
