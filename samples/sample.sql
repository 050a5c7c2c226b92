-- The sample database: a small shop. Built by the build into sample.db.
PRAGMA foreign_keys = ON;

CREATE TABLE customers (
  customer_id INTEGER PRIMARY KEY,
  name        TEXT NOT NULL,
  city        TEXT,
  email       TEXT UNIQUE,
  joined      DATE
);

CREATE TABLE products (
  product_id  INTEGER PRIMARY KEY,
  code        TEXT NOT NULL UNIQUE,
  title       TEXT NOT NULL,
  price       NUMERIC(10,2) NOT NULL CHECK (price >= 0),
  picture     BLOB
);

CREATE TABLE orders (
  order_id    INTEGER PRIMARY KEY,
  customer_id INTEGER NOT NULL REFERENCES customers(customer_id),
  ordered_on  DATE NOT NULL,
  note        TEXT
);

CREATE TABLE order_items (
  order_id    INTEGER NOT NULL REFERENCES orders(order_id) ON DELETE CASCADE,
  line_no     INTEGER NOT NULL,
  product_id  INTEGER NOT NULL REFERENCES products(product_id),
  quantity    INTEGER NOT NULL DEFAULT 1,
  PRIMARY KEY (order_id, line_no)
);

CREATE TABLE audit_log (
  log_id      INTEGER PRIMARY KEY AUTOINCREMENT,
  happened    TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP,
  what        TEXT
);

CREATE INDEX ix_orders_customer ON orders(customer_id, ordered_on);
CREATE INDEX ix_customers_city ON customers(city);

CREATE VIEW order_totals AS
  SELECT o.order_id, c.name AS customer, SUM(i.quantity * p.price) AS total
  FROM orders o
  JOIN customers c ON c.customer_id = o.customer_id
  JOIN order_items i ON i.order_id = o.order_id
  JOIN products p ON p.product_id = i.product_id
  GROUP BY o.order_id, c.name;

CREATE TRIGGER trg_orders_audit AFTER INSERT ON orders
BEGIN
  INSERT INTO audit_log (what) VALUES ('order ' || NEW.order_id || ' placed');
END;

-- 500 customers; every seventh has no city and every eleventh no e-mail.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500)
INSERT INTO customers (customer_id, name, city, email, joined)
SELECT i,
       'Customer ' || printf('%04d', i),
       CASE WHEN i % 7 = 0 THEN NULL
            ELSE (SELECT value FROM json_each('["Lisbon","Oslo","Kraków","Zürich","Tallinn","Porto"]')
                  WHERE key = i % 6) END,
       CASE WHEN i % 11 = 0 THEN NULL ELSE 'customer' || i || '@example.org' END,
       date('2020-01-01', '+' || (i * 3) || ' days')
FROM n;

-- 120 products; every tenth has a small picture.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 120)
INSERT INTO products (product_id, code, title, price, picture)
SELECT i,
       'P-' || printf('%03d', i),
       'Product number ' || i,
       round(1.5 + (i * 37 % 200) / 3.0, 2),
       CASE WHEN i % 10 = 0 THEN randomblob(16) ELSE NULL END
FROM n;
UPDATE products SET picture = x'0102' WHERE product_id = 1;

-- 2,000 orders with 1 to 3 lines each.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)
INSERT INTO orders (order_id, customer_id, ordered_on, note)
SELECT i, 1 + (i * 13) % 500, date('2023-01-01', '+' || (i % 700) || ' days'),
       CASE WHEN i % 5 = 0 THEN 'Deliver to the back door' ELSE NULL END
FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000),
     l(k) AS (VALUES (1), (2), (3))
INSERT INTO order_items (order_id, line_no, product_id, quantity)
SELECT i, k, 1 + (i * 7 + k * 31) % 120, 1 + (i + k) % 4
FROM n, l WHERE k <= 1 + i % 3;
