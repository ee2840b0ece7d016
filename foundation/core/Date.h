// CDate: a calendar date held as one day number of the proleptic Gregorian calendar, counted so
// that 1 January of year 0 is day 1 (1 January 1970 = 719529, 1 January 2000 = 730486).
#pragma once

class CDate {
 public:
  CDate();  // today
  explicit CDate(int dayNumber) : m_dayNumber(dayNumber) {}
  virtual ~CDate() = default;

  static int Today();
  static int DayNumber(int month, int day, int year);
  // Month 1-12, day 1-31 and year of a day number; null outputs are skipped.
  static void FromDayNumber(int number, int* month, int* day, int* year);

  // The part of the given day number; -1 means the object's own.
  int GetDay(int number = -1) const;
  int GetMonth(int number = -1) const;
  int GetYear(int number = -1) const;

  void SetDayNumber(int number) { m_dayNumber = number; }
  int GetDayNumber() const { return m_dayNumber; }

 private:
  int m_dayNumber;
};
