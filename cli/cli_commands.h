#pragma once
// The commands of pellwerk-cli. Each returns normally on success and raises
// on failure: ECliUsage for a wrong command line, any other exception with
// its German message when a file, a label or the printer fails.

#include "cli/cli_output.h"

struct TCliArgs;

void CmdRender(const TCliArgs& A, TCliStreams& S);
void CmdJob(const TCliArgs& A, TCliStreams& S);
void CmdScan(const TCliArgs& A, TCliStreams& S);
void CmdPrint(const TCliArgs& A, TCliStreams& S);
void CmdText(const TCliArgs& A, TCliStreams& S);
void CmdTemplates(const TCliArgs& A, TCliStreams& S);
void CmdThumbnail(const TCliArgs& A, TCliStreams& S);
void CmdDiagnose(const TCliArgs& A, TCliStreams& S);
