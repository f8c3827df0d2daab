#include "web/browser_launcher.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopBrowserLauncher::open(const QString& address) {
    // Tolerant parsing encodes what the user typed (a blank becomes %20) instead of refusing it.
    const QUrl url(address.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    return QDesktopServices::openUrl(url);
}
