// Calls every bridge function of window.vtl from the buttons of the page and
// logs what the host answers.
(function () {
  const status = document.getElementById('runtime-status');
  const log = document.getElementById('log');
  const value = (id) => document.getElementById(id).value;
  const checked = (id) => document.getElementById(id).checked;

  function write(text, failed) {
    const item = document.createElement('li');
    item.textContent = text;
    if (failed) item.className = 'failed';
    log.insertBefore(item, log.firstChild);
  }

  if (!(window.vtl && typeof window.vtl.call === 'function')) {
    status.textContent = 'Opened outside the Vantrel runtime';
    document.querySelectorAll('button[data-call]').forEach((b) => { b.disabled = true; });
    return;
  }
  const vtl = window.vtl;

  // Each button's call; calls that the host never answers say so.
  const calls = {
    hello: () => vtl.hello(),
    isRuntime: () => vtl.isRuntime(),
    openFile: () => vtl.dialogs.openFile({ title: 'Open a file', fileTypes: value('file-types') }),
    saveFile: () => vtl.dialogs.saveFile({
      title: 'Save as', fileName: 'hello.txt', fileTypes: value('file-types'),
      overwritePrompt: checked('overwrite-prompt'),
    }),
    writeTextFile: () => vtl.files.writeTextFile({ filePath: value('file-path'), contents: value('file-contents') }),
    fileExists: () => vtl.files.fileExists({ filePath: value('file-path') }),
    deleteFile: () => vtl.files.deleteFile({ filePath: value('file-path') }),
    dirExists: () => vtl.folders.dirExists({ dirPath: value('dir-path') }),
    deleteDir: () => vtl.folders.deleteDir({ dirPath: value('dir-path') }),
    getTempDir: () => vtl.folders.getTempDir(),
    getUserDocumentsDir: () => vtl.folders.getUserDocumentsDir(),
    getUserDesktopDir: () => vtl.folders.getUserDesktopDir(),
    inFullscreen: () => vtl.app.inFullscreen(),
    enterFullscreen: () => { vtl.app.enterFullscreen(); return null; },
    exitFullscreen: () => { vtl.app.exitFullscreen(); return null; },
    close: () => { vtl.app.close(); return null; },
  };

  document.querySelectorAll('button[data-call]').forEach((button) => {
    button.addEventListener('click', () => {
      const name = button.dataset.call;
      const pending = calls[name]();
      if (!pending) {
        write(name + ': sent (this call has no answer)');
        return;
      }
      pending.then(
        (result) => write(name + ' → ' + JSON.stringify(result)),
        (error) => write(name + ' failed: ' + JSON.stringify(error), true));
    });
  });

  // The host asks the page before the window closes.
  vtl.events.onCloseQuery = function () {
    if (!checked('confirm-close') || window.confirm('Close the demo?')) vtl.app.close();
  };

  vtl.isRuntime().then(
    (yes) => { status.textContent = yes ? 'Running inside the Vantrel runtime' : 'Not in the runtime'; },
    () => { status.textContent = 'The runtime bridge did not answer'; });
})();
