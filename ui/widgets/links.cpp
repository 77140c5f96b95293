// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/links.h"

#include <QDesktopServices>

#ifndef ZELMO_CONTACT_EMAIL
#error "ZELMO_CONTACT_EMAIL must be defined by the build"
#endif
#ifndef ZELMO_HOMEPAGE_HOST
#error "ZELMO_HOMEPAGE_HOST must be defined by the build"
#endif

namespace zelmo::ui::links {

QString contactEmail() {
    return QStringLiteral(ZELMO_CONTACT_EMAIL);
}

QString homepageHost() {
    return QStringLiteral(ZELMO_HOMEPAGE_HOST);
}

QUrl mailUrl() {
    return QUrl(QStringLiteral("mailto:") + contactEmail());
}

QUrl homepageUrl() {
    return QUrl(QStringLiteral("https://") + homepageHost());
}

void openWithDesktop(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

}  // namespace zelmo::ui::links
