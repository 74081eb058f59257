#include "scanresultvalue.h"

#include "paths.h"

namespace twinsift {

ScanResultValue::ScanResultValue(DuplicateScanResult result)
    : m_result(std::make_shared<const DuplicateScanResult>(std::move(result))) {}

ScanResultValue::ScanResultValue(DuplicateScanResult result, ResultReview::Groupings groupings)
    : m_result(std::make_shared<const DuplicateScanResult>(std::move(result))),
      m_groupings(std::make_shared<const ResultReview::Groupings>(std::move(groupings))) {}

const DuplicateScanResult &ScanResultValue::core() const {
    static const DuplicateScanResult none;
    return m_result ? *m_result : none;
}

QString ScanResultValue::rootPath() const {
    return m_result ? QString::fromStdString(paths::displayText(m_result->rootURL)) : QString();
}

} // namespace twinsift
