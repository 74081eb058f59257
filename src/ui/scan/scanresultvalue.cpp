#include "scanresultvalue.h"

#include "paths.h"

namespace twinsift {

ScanResultValue::ScanResultValue(DuplicateScanResult result)
    : m_result(std::make_shared<const DuplicateScanResult>(std::move(result))) {}

const DuplicateScanResult &ScanResultValue::core() const {
    static const DuplicateScanResult none;
    return m_result ? *m_result : none;
}

QString ScanResultValue::rootPath() const {
    return m_result ? QString::fromStdString(paths::displayText(m_result->rootURL)) : QString();
}

} // namespace twinsift
