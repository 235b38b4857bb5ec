/* A host that lets its user choose a file through the exchange file, as a
 * debugger does: write the request to C:\FILE, start filepick.exe with the
 * verb, wait, check the exit code, read the reply, remove it.
 *
 *   exchange_host DoModuleListFile [FOLDER]
 *   exchange_host DoLoadDebugFile [FOLDER]
 *   exchange_host DoSetDumpFile MODE
 *
 * filepick.exe is looked for beside this program. Prints the reply and
 * exits 0, or prints "no file chosen" and exits 1; 2 on an error. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "filepick.h"

static int WriteRequest(const unsigned char* request, size_t size)
{
    FILE* file = fopen(FILEPICK_EXCHANGE_PATH, "wb");
    int ok = file && fwrite(request, 1, size, file) == size;
    /* Closed before filepick starts: it must be able to take it away. */
    if (file && fclose(file) != 0)
        ok = 0;
    return ok;
}

/* Runs "filepick.exe VERB" beside this program and waits for it; its exit
 * code, or -1 when it could not be started. */
static long RunPicker(const char* verb)
{
    char picker[MAX_PATH + 32], line[2 * MAX_PATH];
    DWORD length = GetModuleFileNameA(0, picker, MAX_PATH);
    char* slash = length ? strrchr(picker, '\\') : 0;
    if (!slash)
        return -1;
    strcpy(slash + 1, "filepick.exe");
    /* The verb is all that follows the program name: no blank after it. */
    snprintf(line, sizeof line, "\"%s\" %s", picker, verb);
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(picker, line, 0, 0, FALSE, 0, 0, 0, &startup, &process))
        return -1;
    /* Its dialog may come to the front although the user clicked elsewhere
     * meanwhile. */
    AllowSetForegroundWindow(process.dwProcessId);
    DWORD code = (DWORD)-1;
    /* A GUI host disables its main window (EnableWindow) before it starts
     * the picker, enables it again after, and meanwhile keeps dispatching
     * its messages, as here: it repaints, and Windows does not call it
     * unresponsive. The picker's dialog has no owner. */
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return (long)code;
}

static int Exchange(const char* verb, const unsigned char* request, size_t size);

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: exchange_host VERB [FOLDER | MODE]\n");
        return 2;
    }
    const char* verb = argv[1];
    unsigned char request[FILEPICK_DIRECTORY_REQUEST_SIZE];
    size_t size = FILEPICK_DIRECTORY_REQUEST_SIZE;
    if (strcmp(verb, FILEPICK_VERB_SET_DUMP_FILE) == 0) {
        FilepickDumpRequest(request, argc > 2 ? atoi(argv[2]) : FILEPICK_DUMP_SAVE);
        size = FILEPICK_DUMP_REQUEST_SIZE;
    } else if (!FilepickDirectoryRequest(request, argc > 2 ? argv[2] : "")) {
        fprintf(stderr, "exchange_host: the folder does not fit the request\n");
        return 2;
    }
    /* One picker at a time, whichever host starts it. */
    HANDLE exchange = CreateMutexA(0, FALSE, FILEPICK_EXCHANGE_MUTEX);
    if (exchange && WaitForSingleObject(exchange, 0) == WAIT_TIMEOUT) {
        printf("waiting for another file picker to close\n");
        WaitForSingleObject(exchange, INFINITE);
    }
    int status = Exchange(verb, request, size);
    if (exchange) {
        ReleaseMutex(exchange);
        CloseHandle(exchange);
    }
    return status;
}

/* Writes the request, runs the picker and reads its reply: the exit status
 * of main. */
static int Exchange(const char* verb, const unsigned char* request, size_t size)
{
    if (!WriteRequest(request, size)) {
        fprintf(stderr, "exchange_host: cannot write %s\n", FILEPICK_EXCHANGE_PATH);
        return 2;
    }
    long code = RunPicker(verb);
    if (code != FILEPICK_EXIT_VERB_RAN) {
        /* 0: filepick did not know the verb and left the request. Anything
         * else: it did not end normally; a file there is not a reply. */
        fprintf(stderr, "exchange_host: filepick.exe ended with %ld\n", code);
        remove(FILEPICK_EXCHANGE_PATH);
        return 2;
    }
    unsigned char bytes[FILEPICK_LOAD_REPLY_SIZE + 1];
    FILE* file = fopen(FILEPICK_EXCHANGE_PATH, "rb");
    if (!file) {
        printf("no file chosen\n");
        return 1;
    }
    int got = (int)fread(bytes, 1, sizeof bytes, file);
    fclose(file);
    /* The host removes the reply once it has read it. */
    remove(FILEPICK_EXCHANGE_PATH);
    FilepickReply reply;
    int decoded = FilepickDecodeReplyFor(verb, bytes, got, request, (int)size, &reply);
    if (decoded == FILEPICK_REPLY_REQUEST_NOT_TAKEN) {
        /* filepick could not take the request (another program held the
         * file) and told its user so: nothing was chosen. */
        printf("no file chosen (the request was not taken)\n");
        return 1;
    }
    if (decoded != FILEPICK_REPLY_DECODED) {
        fprintf(stderr, "exchange_host: a reply of %d bytes\n", got);
        return 2;
    }
    printf("short path:   %s\n", reply.path);
    if (strcmp(verb, FILEPICK_VERB_LOAD_DEBUG_FILE) == 0)
        printf("startup skip: %d\nsymbol only:  %d\nformat:       %d\n", reply.startupSkip,
               reply.symbolOnly, reply.format);
    return 0;
}
