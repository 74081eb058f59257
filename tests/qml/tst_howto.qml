import QtQuick
import QtTest
import Twinsift

TestCase {
    id: testCase
    name: "HowTo"
    when: windowShown
    visible: true
    width: 900
    height: 700

    Component {
        id: guideComponent
        TwinsiftHowToView {
            anchors.fill: parent
        }
    }

    function test_questionsOpenOneByOne() {
        const guide = createTemporaryObject(guideComponent, testCase)
        const questions = guide.questions
        compare(questions.count, 3)
        for (let i = 0; i < 3; ++i) {
            verify(!questions.itemAt(i).expanded)
            verify(!questions.itemAt(i).answerItem.visible)
        }
        const second = findChild(questions.itemAt(1), "question")
        waitForRendering(guide)
        guide.scrollToEnd()
        waitForRendering(guide)
        mouseClick(second)
        verify(questions.itemAt(1).expanded)
        verify(questions.itemAt(1).answerItem.visible)
        verify(!questions.itemAt(0).expanded && !questions.itemAt(2).expanded)
        mouseClick(second)
        verify(!questions.itemAt(1).expanded)
    }
}
