#pragma once
// What both floors of the start-up benchmark repeat of the tool's dialog: how it ends, its
// colours and the message loop around it. Repeated here, not taken from the tool's classes: a
// floor is plain Win32 calls, so that what the tool spends beyond it is the cost of our own
// code (docs/benchmark.md). The template, its ids and the fixed texts are the tool's own. Keep
// this in step with app/IdentifierDlg.cpp.

#include "foundation/Win32.h"

// The tool's answer to the messages that end its dialog: CLOSE and the close box destroy it,
// and its end ends the program with 0; the benchmark closes every run with CLOSE. TRUE for
// those messages and every other command, FALSE for the rest.
INT_PTR EndLikeTheTool(HWND dialog, UINT message, WPARAM wParam);

// The tool's two brushes, made as its dialog makes them when it starts.
void MakeTheToolsBrushes();
// The tool's answer to a colour message: white identifier fields on light grey. 0 for any
// other message.
INT_PTR ColourLikeTheTool(UINT message, WPARAM wParam, LPARAM lParam);

// Gets and dispatches the thread's messages until WM_QUIT; returns its value.
int RunMessageLoop();
