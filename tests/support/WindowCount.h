#pragma once
// The windows this thread has, its top-level ones and all their children:
// a leak check for tests. Windows only.
int ThreadWindowCount();
