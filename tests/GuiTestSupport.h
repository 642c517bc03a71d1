#pragma once

#include "widgets/MessageBox.h"

namespace TestSupport {

// Message boxes answer at once and are recorded while this lives.
class MessageBoxTestMode
{
public:
    MessageBoxTestMode() { MessageBox::setTestMode(true); }
    ~MessageBoxTestMode() { MessageBox::setTestMode(false); }
    MessageBoxTestMode(const MessageBoxTestMode &) = delete;
    MessageBoxTestMode &operator=(const MessageBoxTestMode &) = delete;
};

} // namespace TestSupport
