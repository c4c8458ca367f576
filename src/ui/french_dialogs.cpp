#include "ui/french_dialogs.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

QTranslator* SpeakFrenchInQtDialogs(QCoreApplication& application,
                                    const QString& translationsFolder) {
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);

    // qtbase holds the texts of the widgets' dialogs and standard buttons.
    auto* translator = new QTranslator(&application);
    if (!translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
                          translationsFolder)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
