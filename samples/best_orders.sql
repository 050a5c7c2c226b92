select order_id, customer, total
from order_totals
order by total desc
limit 20
