#include "main/frmquorix.h"
#include "windows/formkit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorix"));
    QApplication::setApplicationVersion(QStringLiteral("0.70.1"));
    FormKit::applyClassicLook();
    QApplication::setWindowIcon(QIcon(FormKit::programIcon()));

    frmQuorix window; // saves once more when it ends, after the last window has closed
    window.show();
    return app.exec();
}
