// String ids of the update program's texts in the language module.
#pragma once

enum UpdateStringId : int {
  IDS_UPD_READY = 513,     // detail line between steps
  IDS_UPD_FETCHING = 515,  // fetching the catalogue
  IDS_UPD_READING = 516,   // reading the catalogue
  IDS_UPD_DOWNLOADING = 518,
  IDS_UPD_TESTING = 519,
  IDS_UPD_INSTALLING = 520,
  IDS_UPD_INSTALLED = 521,    // message: the update is installed
  IDS_UPD_TEST_FAILED = 523,  // message: an archive is damaged
  IDS_UPD_DOWNLOAD_FAILED = 524,
  IDS_UPD_DONE = 531,            // status at the end
  IDS_UPD_INSTALL_FAILED = 533,  // message: installing failed, the old files stay
};
