#pragma once

#include "MessageBox.h"

// The window implementation of the message-box hook: a modal QMessageBox over
// the active window with the request's text, title, buttons and icon.
MessageResult ShowWindowMessageBox(const MessageRequest& request);

// Routes every ShowMessage of the program to ShowWindowMessageBox.
void InstallWindowMessageBox();
