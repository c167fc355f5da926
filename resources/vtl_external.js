// The page-side API (window.vtl) comes with the script bridge.
