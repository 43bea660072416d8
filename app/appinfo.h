#pragma once
// What the program says about itself: title, version, web addresses, owner notice, About text.
#include <QString>

namespace orvello::appinfo {

QString applicationTitle();  // "Orvello"
QString version();           // major.minor.revision, from the build
QString windowCaption();     // title, a blank, the version

QString homePageAddress();
QString ownerSiteAddress();
QString ownerNotice();     // the text of the bottom-right label
QString ownerNoticeTip();  // its tool tip

QString aboutTitle();
QString aboutText();

}  // namespace orvello::appinfo
