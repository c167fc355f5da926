// Vantrel page-side API: window.vtl reaches the host's native services.
// Each call posts {id, uuid, data} to the host and returns a promise that the
// host's reply {uuid, success, result} settles.
window.vtl = {
  call: function (funcID, args) {
    var uuid = "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx".replace(/[xy]/g, function (c) {
      var r = Math.random() * 16 | 0;
      var v = c === "x" ? r : (r & 3 | 8);
      return v.toString(16);
    });
    return new Promise(function (resolve, reject) {
      var listener = function (event) {
        var data = event.data;
        if (data && data.uuid === uuid) {
          window.chrome.webview.removeEventListener("message", listener);
          if (data.success) {
            resolve(data.result);
          } else {
            reject(data.result);
          }
        }
      };
      window.chrome.webview.addEventListener("message", listener);
      window.chrome.webview.postMessage({ id: funcID, uuid: uuid, data: args });
    });
  },
  hello: function () { return this.call(10001, {}); },
  isRuntime: function () { return this.call(10002, {}); },
  dialogs: {
    openFile: function (args) { return window.vtl.call(20001, args); },
    saveFile: function (args) { return window.vtl.call(20002, args); }
  },
  files: {
    fileExists: function (args) { return window.vtl.call(30001, args); },
    deleteFile: function (args) { return window.vtl.call(30002, args); },
    writeTextFile: function (args) { return window.vtl.call(30003, args); }
  },
  folders: {
    dirExists: function (args) { return window.vtl.call(40001, args); },
    deleteDir: function (args) { return window.vtl.call(40002, args); },
    getTempDir: function () { return window.vtl.call(40003, {}); },
    getUserDocumentsDir: function () { return window.vtl.call(40004, {}); },
    getUserDesktopDir: function () { return window.vtl.call(40005, {}); }
  },
  app: {
    close: function () { return window.vtl.call(50001, {}); },
    inFullscreen: function () { return window.vtl.call(50002, {}); },
    enterFullscreen: function () { return window.vtl.call(50003, {}); },
    exitFullscreen: function () { return window.vtl.call(50004, {}); }
  },
  events: {
    onCloseQuery: function () { window.vtl.app.close(); }
  }
};
