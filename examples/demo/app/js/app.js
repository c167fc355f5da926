// Shows whether the page runs inside the packaged runtime.
(function () {
  const status = document.getElementById('runtime-status');
  if (window.vtl && typeof window.vtl.isRuntime === 'function') {
    window.vtl.isRuntime().then(
      (yes) => { status.textContent = yes ? 'Running inside the Vantrel runtime.' : 'Not in the runtime.'; },
      () => { status.textContent = 'The runtime bridge did not answer.'; });
  } else {
    status.textContent = 'Opened outside the Vantrel runtime.';
  }
})();
