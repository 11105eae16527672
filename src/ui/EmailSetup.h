#pragma once

#include <QString>

namespace halcyra {

// What the e-mail window opens with: the questionnaire copy for a client, or the error log for
// support. The window takes these in and the adviser may change any of them before sending.
struct EmailSetupValues
{
    QString toAddress;
    QString subject;
    QString body;
    QString attachment; // full path, or empty for no attachment
    // "2" when the attachment is a questionnaire copy made for this message: Abort deletes it.
    QString mode;
};

} // namespace halcyra
