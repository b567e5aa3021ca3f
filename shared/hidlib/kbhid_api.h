/* kbhid.dll's agreement with the programs that load it: its seven exports and what its two
   messages carry.

   The seven entry points of kbhid.dll: cdecl, undecorated names, plain C types, so that the
   library and both programs agree on them whatever compiler built each side. The window is
   an HWND and the two messages are window-message numbers. Results: nonzero is success;
   Open_DevMonitor, Close_DevMonitor, Close_FeatureDevice and GetMousePID return nothing the
   callers rely on. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define KBHID_CALL __cdecl
#else
#define KBHID_CALL
#endif

typedef int(KBHID_CALL* KbhidOpenDevMonitorFn)(void* window, unsigned int keyMessage, unsigned int deviceMessage);
typedef int(KBHID_CALL* KbhidCloseDevMonitorFn)(void);
typedef int(KBHID_CALL* KbhidOpenFeatureDeviceFn)(void);
typedef int(KBHID_CALL* KbhidCloseFeatureDeviceFn)(void);
typedef int(KBHID_CALL* KbhidSetFeatureFn)(unsigned char* buffer, int length);
typedef int(KBHID_CALL* KbhidGetFeatureFn)(unsigned char* buffer, int length);
typedef int(KBHID_CALL* KbhidGetMousePidFn)(void);

#ifdef __cplusplus
}

namespace brenik::hid {

// The two messages kbhid.dll posts to the window given to Open_DevMonitor, under the numbers
// the caller passes (the monitor's are kMsgKeyEvent and kMsgDeviceChange, monitor_inbox.h):
// - key event: wParam low 16 bits = event class, lParam low 16 bits = sub-code (its low byte
//   the key byte, its high byte the qualifier);
// - device change: wParam kDeviceArrived or kDeviceRemoved, lParam 0.
constexpr unsigned kDeviceArrived = 1;
constexpr unsigned kDeviceRemoved = 0;

}  // namespace brenik::hid
#endif
