// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// The two contact links of the window: the author's e-mail address and home page, fixed when
// the program is built, and the way a link is handed to the desktop.
namespace zelmo::ui::links {

QString contactEmail();  // the caption of Label10
QString homepageHost();  // the caption of Label9
QUrl mailUrl();          // "mailto:" + the address
QUrl homepageUrl();      // "https://" + the host

// Hands a URL to the user's mail program or web browser; the result is not examined.
using UrlOpener = std::function<void(const QUrl&)>;
void openWithDesktop(const QUrl& url);

}  // namespace zelmo::ui::links
