#pragma once
// The connection to the desktop's session bus, made ahead of the window.
// The toolkit's accessibility bridge connects to the session bus the first
// time a widget's text is set, which is while the main window is built: made
// then, the connection holds the window up (without a bus, libdbus even
// forks to try launching one). Made first on a thread of its own, while the
// process is still small, it is there when the bridge asks for it. Qt takes
// the first thread that asks for its thread data as the main thread: the
// main thread must have asked (QThread::currentThread) before this runs.
void ConnectSessionBus();
