#include "app/appinfo.h"

#include <QCoreApplication>

namespace orvello::appinfo {

namespace {
// The product's configuration: the two web addresses and the rights holder's notice.
const char kHomePage[] = "https://www.orvello.example/app/";
const char kOwnerSite[] = "https://www.orvello.example/";
const char kOwnerName[] = "www.orvello.example";
}  // namespace

QString applicationTitle()
{
    return QStringLiteral("Orvello");
}
QString version()
{
    return QStringLiteral(ORVELLO_VERSION);
}
QString windowCaption()
{
    return applicationTitle() + QLatin1Char(' ') + version();
}

QString homePageAddress()
{
    return QString::fromLatin1(kHomePage);
}
QString ownerSiteAddress()
{
    return QString::fromLatin1(kOwnerSite);
}
QString ownerNotice()
{
    return QStringLiteral(" \n© ") + QString::fromLatin1(kOwnerName);
}
QString ownerNoticeTip()
{
    return QCoreApplication::translate("app", "查看版权所有者信息");
}

QString aboutTitle()
{
    return QCoreApplication::translate("app", "关于 %1").arg(applicationTitle());
}

QString aboutText()
{
    return QCoreApplication::translate(
               "app", "本软件可提取数码照片的EXIF信息并在照片上添加拍摄日期、自定义标题文字等。") +
           QStringLiteral("\r\n\r\n") +
           QCoreApplication::translate("app", "欢迎访问我们的网站了解更多信息：") +
           ownerSiteAddress() + QLatin1Char(' ');
}

}  // namespace orvello::appinfo
