// The toolkit's own cost of what a notes program shows: N frameless top-level
// windows, each with a rich-text editor holding a few formatted lines, and
// nothing else (no files, settings or menus). Measured by bench/run.sh beside
// the program, it is the floor any Qt program with a window per note stands on.
//
//   qtfloor N
#include <QApplication>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>
#include <vector>

int main(int argc, char **argv)
{
    const QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    std::vector<std::unique_ptr<QWidget>> windows;
    for (int i = 0; i < count; ++i) {
        auto window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        window->setWindowTitle(QStringLiteral("JotNoteLight"));
        window->resize(200, 160);
        window->move(20 + (i % 40) * 40, 20 + (i / 40) * 150);
        auto *layout = new QVBoxLayout(window.get());
        auto *text = new QTextEdit(window.get());
        text->setHtml(QStringLiteral("<p><b style=\"color:#004080\">Call Anna</b></p>"
                                     "<p>0612 345 678</p><p><i>Reminder: check the list</i></p>"));
        layout->addWidget(text);
        window->show();
        windows.push_back(std::move(window));
    }
    return QApplication::exec();
}
