// The program's entry: the application, its title "Zelmo", the main window, the event loop.
#include <QApplication>

#include "app/startupprobe.h"
#include "ui/application.h"
#include "ui/unit1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zelmo::ui::initApplication(app);

    // The window runs FormCreate while it is built, before it is shown.
    zelmo::ui::TForm1 form1;
    zelmo::app::watchStartup(form1);
    form1.show();
    app.exec();
    return 0;
}
