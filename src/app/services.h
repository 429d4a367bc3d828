#pragma once

#include <QString>

namespace gridloom {

class Messages;
class FileChooser;
class ProcessStarter;
class Volumes;

/// What the main window needs from the world outside it. The program passes the real ones;
/// tests pass recorders and stand-ins.
struct Services {
    Messages& messages;
    FileChooser& files;
    ProcessStarter& starter;
    Volumes& volumes;
    /// Where the processors' executables must lie.
    QString programFolder;
};

} // namespace gridloom
