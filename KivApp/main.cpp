#include <QApplication>
#include <QLabel>

// Until the two-panel window lands, the program opens a plain window that says so.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel placeholder("Tavrin: the two-panel window is not built yet.");
    placeholder.setWindowTitle("Tavrin");
    placeholder.resize(480, 120);
    placeholder.setAlignment(Qt::AlignCenter);
    placeholder.show();
    return app.exec();
}
