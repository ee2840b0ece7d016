// The framework's own command ids, the ones its classes handle themselves.
#pragma once

#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_SEND_MAIL 0xE10C
// The recent files, one id per entry of the list (16 ids reserved).
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_FIRST 0xE110
#define ID_FILE_MRU_LAST 0xE11F
#define ID_APP_EXIT 0xE141
#define ID_HELP 0xE146
