#include "app/messages.h"

#include "app/appinfo.h"

namespace orvello {

bool askQuestion(Host& host, const QString& text)
{
    MessageRequest q;
    q.text = text;
    q.title = appinfo::applicationTitle();
    q.icon = MsgIcon::Question;
    q.buttons = MsgButtons::YesNo;
    q.defaultButton = MsgAnswer::No;
    return host.showMessage(q) == MsgAnswer::Yes;
}

void showNotice(Host& host, const QString& text, MsgIcon icon)
{
    MessageRequest m;
    m.text = text;
    m.title = appinfo::applicationTitle();
    m.icon = icon;
    host.showMessage(m);
}

}  // namespace orvello
