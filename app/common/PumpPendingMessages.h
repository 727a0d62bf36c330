#pragma once
// Handles all messages waiting in the calling thread's queue (PeekMessageA
// with removal, TranslateMessage, DispatchMessageA until none is left).
void PumpPendingMessages();
// While set, the waiting messages are handled as the message loop handles
// them, so that a click or a key raises its event (ProcessEvents). A rescan
// sets it: its content goes in place in one step, so the handlers that run
// meanwhile see the folder as it was.
void RaiseEventsWhilePumping(bool raise);
