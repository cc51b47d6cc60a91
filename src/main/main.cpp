// Program entry of KVLConfig3.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Orvanto");
    QApplication::setApplicationName("KVLConfig3");
    QMainWindow window;
    window.setWindowTitle("KVL-Config3");
    window.show();
    return app.exec();
}
