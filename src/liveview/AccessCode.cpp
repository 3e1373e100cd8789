#include "liveview/AccessCode.h"

#include <QRandomGenerator>

namespace dyno {

QString makeAccessCode() {
    QString code;
    for (int i = 0; i < kAccessCodeDigits; ++i) {
        code.append(QChar(u'0' + QRandomGenerator::system()->bounded(10)));
    }
    return code;
}

bool isAccessCode(const QString& offered, const QString& code) {
    if (code.isEmpty() || offered.size() != code.size()) return false;
    char16_t difference = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        difference |= static_cast<char16_t>(offered[i].unicode() ^ code[i].unicode());
    }
    return difference == 0;
}

}  // namespace dyno
