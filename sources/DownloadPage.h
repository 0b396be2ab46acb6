#pragma once

#include <QString>

class DownloadClient;
class RunView;

// The download into the fixed temporary file that the acquisition reads back.

// "kelvora.tmp" in the user's temporary folder.
QString DownloadFilePath();

// Makes the temporary folder and removes a leftover download file, also a
// read-only one; failures to remove are ignored. Returns the file's path.
QString PrepareDownloadFile();

// Stores the body of a GET of address in the download file. On failure
// reports the error with the address, switches to the error page and
// returns false.
bool DownloadPage(DownloadClient &client, const QString &address, RunView &view);
