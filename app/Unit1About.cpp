// The two menu commands that lead out of the renamer: the about box and the
// product page.
#include "app/Unit1.h"

#include "about/Addresses.h"
#include "about/UAbout.h"
#include "dialogs/UserDialogs.h"

#include <QPointer>
#include <QUrl>

void TForm1::About1Click()
{
    // A fresh box each time, gone once it is closed. The guarded pointer
    // keeps the delete safe should the window go away while the box is up.
    QPointer<TFMAbout> box = new TFMAbout(
        [this](const QUrl& url) { runCommand([&] { dialogs().openUrl(url); }); }, this);
    box->exec();
    delete box;
}

void TForm1::help1Click()
{
    dialogs().openUrl(QUrl(WebPageAddress));
}
