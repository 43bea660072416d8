#pragma once
// The program's message boxes: application title as box title, questions with Yes/No and No as
// the default button.
#include "host/host.h"

namespace orvello {

// True when the user answers Yes.
bool askQuestion(Host& host, const QString& text);
void showNotice(Host& host, const QString& text, MsgIcon icon);

}  // namespace orvello
