/* The seven entry points of kbhid.dll: cdecl, undecorated names, plain C types, so that the
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
#endif
