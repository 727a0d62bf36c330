#pragma once
// Handles every message waiting in the calling thread's queue, then returns.
void PumpPendingMessages();
