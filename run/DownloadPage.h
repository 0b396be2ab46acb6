#pragma once

#include <QString>

class DownloadClient;
class DownloadFile;
class RunView;

// Stores the body of a GET of address in the download file. On failure
// reports the error with the address, switches to the error page and
// returns false.
bool downloadPage(DownloadClient &client, const QString &address, DownloadFile &file, RunView &view);
