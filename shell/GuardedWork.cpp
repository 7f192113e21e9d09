#include "GuardedWork.h"

#include "MessageBox.h"

#include <QCoreApplication>

#include <exception>

void RunGuarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        ShowMessage({QCoreApplication::translate("FormMain", "操作を続けられませんでした。").toStdString() + "\n" +
                         error.what(),
                     {}, MessageButtons::Ok, MessageIcon::Critical});
    }
}
