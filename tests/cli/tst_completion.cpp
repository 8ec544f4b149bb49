// Each shell's completion, run by that shell where it is installed, offers
// --resolve after --re.

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestCompletion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offersOptions_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QString>("script");  // $0 is the folder of the completions
        QTest::newRow("bash") << "bash"
                              << "source \"$0/bash/tolvex-rename\" && complete -p tolvex-rename && "
                                 "COMP_WORDS=(tolvex-rename --re) COMP_CWORD=1 && _tolvex_rename && "
                                 "printf '%s\\n' \"${COMPREPLY[@]}\"";
        QTest::newRow("fish") << "fish" << "source \"$argv[1]/fish/tolvex-rename.fish\"; complete -C 'tolvex-rename --re'";
        // A terminal of its own, in which a tab after --re lists the options.
        QTest::newRow("zsh") << "zsh"
                             << "zmodload zsh/zpty; zpty z zsh -f -i; "
                                "zpty -w z \"fpath=($0/zsh \\$fpath); autoload -Uz compinit; compinit -u -D\"; "
                                "zpty -n -w z $'tolvex-rename --re\\t'; "
                                "for i in {1..50}; do zpty -r -t z out && print -r -- $out || sleep 0.1; done";
    }

    void offersOptions()
    {
        QFETCH(QString, shell);
        QFETCH(QString, script);
        if (QStandardPaths::findExecutable(shell).isEmpty())
            QSKIP("the shell is not installed");
        QProcess process;
        const QString folder = QStringLiteral(TOLVEX_COMPLETION_DIR);
        process.start(shell, shell == "bash"   ? QStringList{"-c", script, folder}
                             : shell == "fish" ? QStringList{"--no-config", "-c", script, folder}
                                               : QStringList{"-f", "-c", script, folder});
        QVERIFY(process.waitForFinished(30000));
        const QByteArray output = process.readAllStandardOutput();
        QVERIFY2(output.contains("--resolve"), output + process.readAllStandardError());
        QVERIFY2(!output.contains("--undo"), output);
    }
};

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
