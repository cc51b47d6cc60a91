// Program entry of KVLConfig3: the application, its windows, the event loop.
#include "main/KvlApplication.h"
#include "main/MainForm.h"

int main(int argc, char* argv[]) {
    kvl::TKvlApplication app(argc, argv);
    kvl::TMainForm mainForm;
    mainForm.show();
    return app.exec();
}
