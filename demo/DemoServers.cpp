// The sample rate services for `make demo`: the central bank's over HTTP and
// OTP Bank's over HTTPS, on loopback, with a settings file that points the
// program at them. Runs until it is asked to stop (SIGINT or SIGTERM).

#include "fakes/FakeMnbServer.h"
#include "fakes/FakeOtpServer.h"
#include "fakes/SelfSignedCertificate.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>
#include <csignal>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: arfolyam-demo-servers <folder of the settings file>\n";
        return 2;
    }
    // Asked for before the servers' threads start, so that they inherit the
    // mask and the signal reaches sigwait below.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    const SelfSignedCertificate certificate;
    FakeMnbServer mnb;
    FakeOtpServer otp(certificate);

    QSaveFile settings(QDir(app.arguments().at(1)).filePath(u"arfolyam.ini"_s));
    const QString text = u"; the sample rate services of the demo, on this computer\r\n[Sources]\r\n"
                         "MNBServiceUrl=%1\r\nOTPBaseUrl=%2\r\nCAFile=%3\r\n"_s.arg(mnb.url(), otp.origin(),
                                                                                 certificate.certificatePath());
    if (!settings.open(QIODevice::WriteOnly) || settings.write(text.toUtf8()) < 0 || !settings.commit()) {
        err << "arfolyam-demo-servers: " << settings.fileName() << ": " << settings.errorString() << '\n';
        return 1;
    }
    QTextStream(stdout) << "Magyar Nemzeti Bank: " << mnb.url() << "\nOTP Bank: " << otp.origin() << Qt::endl;

    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
